#include "trayhost/sync/syncprofilestore.h"

#include "platform/errors.h"
#include "platform/registry.h"
#include "testsupport/devicetree.h"
#include "testsupport/userfolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace trayhost {
namespace {

constexpr std::string_view kProfileKey = "[HKEY_LOCAL_MACHINE\\Software\\Corvane multimedia\\KovaSync";

// A key of the profile in the registry file's notation, with its value lines.
std::string Section(std::string_view below, std::string_view values)
{
    return std::string(kProfileKey) + std::string(below) + "]\n" + std::string(values);
}

class SyncProfileStoreTest : public testing::Test {
protected:
    // Puts a registry file in place as another program (or the user) wrote it.
    void StoreRegistryFile(const std::string& sections) const
    {
        std::filesystem::create_directories(std::filesystem::path(platform::RegistryFilePath()).parent_path());
        testsupport::WriteWholeFile(platform::RegistryFilePath(), "REGEDIT4\n" + sections);
    }

    static SyncSettings Loaded()
    {
        SyncSettings settings;
        LoadSyncSettings(settings);
        return settings;
    }

    static std::vector<std::string> PcPaths(const SyncSettings& settings)
    {
        std::vector<std::string> paths;
        for (const SyncItem& item : settings.items) paths.push_back(item.pcPath);
        return paths;
    }

    testsupport::ScopedUserFolders folders_;
};

TEST_F(SyncProfileStoreTest, AMachineThatNeverSavedKeepsTheStartingValues)
{
    const SyncSettings settings = Loaded();
    EXPECT_EQ(settings.option, SyncOption::PcToDevice);
    EXPECT_EQ(settings.deviceLetter, 0);
    EXPECT_FALSE(settings.fileCleanup);
    EXPECT_TRUE(settings.profileAfterSync);
    EXPECT_TRUE(settings.items.empty());
}

TEST_F(SyncProfileStoreTest, TwelveItemsKeepTheirOrderThroughEverySave)
{
    SyncSettings saved;
    saved.option = SyncOption::DeviceToPc;
    saved.deviceLetter = 'G';
    saved.fileCleanup = true;
    saved.profileAfterSync = false;
    for (int i = 0; i < 12; ++i) {
        SyncItem& item = saved.items.emplace_back();
        item.pcPath = "Z:\\music\\" + std::to_string(i);
        item.devicePath = "G:\\Music\\" + std::to_string(i);
    }
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(SaveSyncSettings(saved));
        const SyncSettings loaded = Loaded();
        EXPECT_EQ(PcPaths(loaded), PcPaths(saved));
        EXPECT_EQ(loaded.items[11].devicePath, "G:\\Music\\11");
        EXPECT_EQ(loaded.option, SyncOption::DeviceToPc);
        EXPECT_EQ(loaded.deviceLetter, 'G');
        EXPECT_TRUE(loaded.fileCleanup);
        EXPECT_FALSE(loaded.profileAfterSync);
        saved = Loaded();
    }
    // As the player's software stores it: the letter as a REG_DWORD of one byte, each item under its index.
    const std::string file = testsupport::ReadWholeFile(platform::RegistryFilePath());
    EXPECT_NE(file.find(Section("\\DeviceID", "@=hex(4):47\n")), std::string::npos) << file;
    EXPECT_NE(file.find(Section("\\SyncPaths\\11", "@=dword:0000000b\n\"PC\"=\"Z:\\\\music\\\\11\"\n")), std::string::npos);
}

TEST_F(SyncProfileStoreTest, ItemKeysThatAreNoNumbersFollowTheNumberedOnes)
{
    StoreRegistryFile(Section("\\SyncPaths\\x", "\"PC\"=\"x\"\n") + Section("\\SyncPaths\\10", "\"PC\"=\"10\"\n") +
                      Section("\\SyncPaths\\B", "\"PC\"=\"B\"\n") + Section("\\SyncPaths\\2", "\"PC\"=\"2\"\n") +
                      Section("\\SyncPaths\\1", "\"PC\"=\"1\"\n"));
    EXPECT_EQ(PcPaths(Loaded()), (std::vector<std::string>{"1", "2", "10", "B", "x"}));
}

TEST_F(SyncProfileStoreTest, SavingWithoutALetterKeepsTheStoredLetter)
{
    SyncSettings settings;
    settings.deviceLetter = 'E';
    ASSERT_TRUE(SaveSyncSettings(settings));
    settings.deviceLetter = 0;
    ASSERT_TRUE(SaveSyncSettings(settings));
    EXPECT_EQ(Loaded().deviceLetter, 'E');
}

// A stored value that is out of range or unreadable loads as its fallback; a missing one changes nothing.
struct StoredSettingCase {
    const char* name;
    std::string sections;
    SyncOption option = SyncOption::PcToDevice;
    char deviceLetter = 'Q';
    bool fileCleanup = true;
    std::string pcPath = "kept";
};

class SyncProfileFallbackTest : public SyncProfileStoreTest, public testing::WithParamInterface<StoredSettingCase> {};

TEST_P(SyncProfileFallbackTest, LoadsAsItsFallback)
{
    StoreRegistryFile(GetParam().sections);
    SyncSettings settings;
    settings.deviceLetter = 'Q';
    settings.fileCleanup = true;
    settings.items.emplace_back().pcPath = "kept";
    LoadSyncSettings(settings);
    EXPECT_EQ(settings.option, GetParam().option);
    EXPECT_EQ(settings.deviceLetter, GetParam().deviceLetter);
    EXPECT_EQ(settings.fileCleanup, GetParam().fileCleanup);
    const std::string pcPath = settings.items.empty() ? "no item" : settings.items[0].pcPath;
    EXPECT_EQ(pcPath, GetParam().pcPath);
}

const std::string kLongPath = "\"PC\"=\"" + std::string(300, 'p') + "\"\n";

INSTANTIATE_TEST_SUITE_P(
    Settings, SyncProfileFallbackTest,
    testing::Values(
        StoredSettingCase{"no_profile", ""},
        StoredSettingCase{"option_3", Section("\\Options", "@=dword:00000003\n"), SyncOption::Invalid, 'Q', true, "no item"},
        StoredSettingCase{"letter_5", Section("\\DeviceID", "@=hex(4):35\n"), SyncOption::PcToDevice, 0, true, "no item"},
        StoredSettingCase{"letter_as_four_bytes", Section("\\DeviceID", "@=dword:00000045\n"), SyncOption::PcToDevice, 0,
                          true, "no item"},
        StoredSettingCase{"cleanup_unreadable", Section("\\FileCleanup", "@=\"long\"\n"), SyncOption::PcToDevice, 'Q', false,
                          "no item"},
        StoredSettingCase{"pc_path_of_300", Section("\\SyncPaths\\0", kLongPath), SyncOption::PcToDevice, 'Q', true, ""}),
    [](const testing::TestParamInfo<StoredSettingCase>& info) { return std::string(info.param.name); });

TEST_F(SyncProfileStoreTest, ASaveThatCannotBeWrittenSaysSo)
{
    std::filesystem::create_directories(platform::RegistryFilePath());  // unreadable: never written over
    EXPECT_FALSE(SaveSyncSettings(SyncSettings{}));
}

}  // namespace
}  // namespace trayhost
