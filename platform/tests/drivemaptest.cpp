#include "platform/drivemap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace {

using platform::DriveEntry;
using platform::DriveMap;
using platform::ParseDriveEntry;

struct ParseCase {
    const char* text;
    bool valid;
    char letter;
    const char* directory;
    bool removable;
    const char* vendor;
    const char* product;
};

ParseCase Invalid(const char* text)
{
    return ParseCase{text, false, 0, "", false, "", ""};
}

class ParseDriveEntryTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDriveEntryTest, ReadsOneEntry)
{
    const ParseCase& c = GetParam();
    const std::optional<DriveEntry> entry = ParseDriveEntry(c.text);
    ASSERT_EQ(entry.has_value(), c.valid) << c.text;
    if (!c.valid) return;
    EXPECT_EQ(entry->letter, c.letter);
    EXPECT_EQ(entry->directory, c.directory);
    EXPECT_EQ(entry->removable, c.removable);
    EXPECT_EQ(entry->vendor, c.vendor);
    EXPECT_EQ(entry->product, c.product);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ParseDriveEntryTest,
    ::testing::Values(ParseCase{"E=/media/player", true, 'E', "/media/player", false, "", ""},
                      ParseCase{" f:= /mnt/x/ ", true, 'F', "/mnt/x", false, "", ""},
                      ParseCase{"Z=/", true, 'Z', "/", false, "", ""},
                      ParseCase{"E=/dev/kova|Corvane|Kova HD Storage", true, 'E', "/dev/kova", true, "Corvane ",
                                "Kova HD Storage "},
                      ParseCase{"G=/d|Vantor|KOVA-HD", true, 'G', "/d", true, "Vantor  ", "KOVA-HD         "},
                      Invalid("E=relative/dir"),
                      Invalid("=/x"),
                      Invalid("1=/x"),
                      Invalid("E/x"),
                      Invalid("E="),
                      Invalid("E=/x|Corvane"),
                      Invalid("E=/x|VendorTooLong|Kova"),
                      Invalid("E=/x|Corvane|Product name too long")));

// Points the drive map's sources at a temporary configuration and restores the real ones afterwards.
class DriveMapSourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        configHome_ = std::filesystem::temp_directory_path() / ("kovadrives-" + std::to_string(::getpid()));
        std::filesystem::create_directories(configHome_ / "kovahdd");
        Remember("XDG_CONFIG_HOME", savedConfigHome_);
        Remember("KOVAHDD_DRIVES", savedDrives_);
        setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
        unsetenv("KOVAHDD_DRIVES");
    }

    void TearDown() override
    {
        Restore("XDG_CONFIG_HOME", savedConfigHome_);
        Restore("KOVAHDD_DRIVES", savedDrives_);
        DriveMap::Instance().Reload();
        std::filesystem::remove_all(configHome_);
    }

    void WriteConfig(const std::string& text) const
    {
        std::ofstream(configHome_ / "kovahdd" / "drives.conf") << text;
    }

    // An existing directory for an entry: the map leaves out entries whose directory is missing.
    std::string Folder(const std::string& name) const
    {
        std::filesystem::create_directories(configHome_ / name);
        return (configHome_ / name).string();
    }

    static std::string DirectoryOf(char letter)
    {
        const std::optional<DriveEntry> entry = DriveMap::Instance().Find(letter);
        return entry ? entry->directory : "(unmapped)";
    }

private:
    static void Remember(const char* name, std::optional<std::string>& saved)
    {
        if (const char* value = std::getenv(name)) saved = value;
    }
    static void Restore(const char* name, const std::optional<std::string>& saved)
    {
        if (saved) setenv(name, saved->c_str(), 1);
        else unsetenv(name);
    }

    std::filesystem::path configHome_;
    std::optional<std::string> savedConfigHome_;
    std::optional<std::string> savedDrives_;
};

TEST_F(DriveMapSourcesTest, LaterSourcesWinLetterByLetter)
{
    WriteConfig("# players\nE=" + Folder("from-file") + "\n\nF=" + Folder("file-f") + "\nnot an entry\nZ=" +
                Folder("file-z") + "\n");
    setenv("KOVAHDD_DRIVES",
           ("F=" + Folder("variable-f") + "; G=" + Folder("variable-g") + "|Corvane|Kova HD Storage;;").c_str(), 1);
    DriveMap::Instance().Reload();

    EXPECT_EQ(DirectoryOf('E'), Folder("from-file"));
    EXPECT_EQ(DirectoryOf('F'), Folder("variable-f"));
    EXPECT_EQ(DirectoryOf('G'), Folder("variable-g"));
    EXPECT_EQ(DirectoryOf('Z'), Folder("file-z"));
    EXPECT_TRUE(DriveMap::Instance().Find('g')->removable);
}

TEST_F(DriveMapSourcesTest, EntryWithoutItsDirectoryIsLeftOutWithAWarning)
{
    WriteConfig("E=/no/such/kova\n");
    setenv("KOVAHDD_DRIVES", ("F=/no/such/other|Corvane|Kova HD Storage;G=" + Folder("g")).c_str(), 1);
    ::testing::internal::CaptureStderr();
    DriveMap::Instance().Reload();
    const std::string warnings = ::testing::internal::GetCapturedStderr();

    EXPECT_FALSE(DriveMap::Instance().Find('E').has_value());
    EXPECT_FALSE(DriveMap::Instance().Find('F').has_value());
    EXPECT_EQ(DirectoryOf('G'), Folder("g"));
    EXPECT_NE(warnings.find("drive E: of drives.conf is left out: /no/such/kova is not a directory"), std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("drive F: of KOVAHDD_DRIVES"), std::string::npos) << warnings;
}

TEST_F(DriveMapSourcesTest, RootIsZWithoutOtherSources)
{
    DriveMap::Instance().Reload();
    EXPECT_EQ(DirectoryOf('Z'), "/");
    EXPECT_FALSE(DriveMap::Instance().Find('E').has_value());
}

TEST_F(DriveMapSourcesTest, EntriesAreInLetterOrder)
{
    setenv("KOVAHDD_DRIVES", ("H=" + Folder("h") + ";E=" + Folder("e") + ";F=" + Folder("f")).c_str(), 1);
    DriveMap::Instance().Reload();
    std::string letters;
    for (const DriveEntry& entry : DriveMap::Instance().Entries()) letters += entry.letter;
    EXPECT_EQ(letters, "EFHZ");
}

TEST_F(DriveMapSourcesTest, FreeLettersStartAtE)
{
    setenv("KOVAHDD_DRIVES", ("E=" + Folder("e") + ";G=" + Folder("g")).c_str(), 1);
    DriveMap::Instance().Reload();
    DriveMap& map = DriveMap::Instance();
    EXPECT_EQ(map.AssignFreeLetter("/one"), 'F');
    EXPECT_EQ(map.AssignFreeLetter("/two", false), 'H');
    EXPECT_TRUE(map.Find('F')->removable);
    EXPECT_FALSE(map.Find('H')->removable);
    map.Remove('f');
    EXPECT_FALSE(map.Find('F').has_value());
    EXPECT_EQ(map.AssignFreeLetter("/three"), 'F');
}

TEST_F(DriveMapSourcesTest, NoFreeLetterGivesZero)
{
    DriveMap& map = DriveMap::Instance();
    DriveMap::Instance().Reload();
    for (char letter = 'E'; letter < 'Z'; ++letter) ASSERT_NE(map.AssignFreeLetter("/x"), 0);
    EXPECT_EQ(map.AssignFreeLetter("/x"), 0);
}

}  // namespace
