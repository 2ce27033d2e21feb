// Runs the kovahdd program as a user would, on temporary devices.

#include "testsupport/devicegenerator.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    std::string output;  // standard output and standard error together
    int exitStatus = -1;
};

class KovahddTest : public testing::Test {
protected:
    // Runs kovahdd with the arguments, in an environment that knows no drives but those given.
    Outcome Run(const std::string& arguments, const std::string& drives = "")
    {
        const std::string command = "env XDG_CONFIG_HOME='" + Folder("config") + "' KOVAHDD_SYSFS='" + Folder("sys") +
                                    "' KOVAHDD_DRIVES='" + drives + "' KOVAHDD_INSTALLED_FILES='" + Folder("installed") +
                                    "' " + KOVAHDD_EXECUTABLE + " " + arguments + " 2>&1";
        Outcome outcome;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return outcome;
        std::array<char, 4096> buffer;
        for (std::size_t size; (size = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
            outcome.output.append(buffer.data(), size);
        }
        const int status = pclose(pipe);
        if (WIFEXITED(status)) outcome.exitStatus = WEXITSTATUS(status);
        return outcome;
    }

    std::string Folder(const std::string& name) const
    {
        const fs::path folder = fs::path(work_.directory()) / name;
        fs::create_directories(folder);
        return folder.string();
    }

    std::string Device() const { return Folder("device"); }

    testsupport::TemporaryDevice work_{'W'};
};

TEST_F(KovahddTest, ProfilesADirectoryAndSaysSo)
{
    testsupport::GenerateDemoDevice(Device());
    const Outcome outcome = Run("profile '" + Device() + "'");
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("Profiling finished."), std::string::npos) << outcome.output;
    for (const char* name : {"artist.m3u", "album.m3u", "title.m3u", "genre.m3u", "audiofiles.m3u"}) {
        EXPECT_TRUE(fs::exists(fs::path(Device()) / "kovahdd" / "sys_playlist" / name)) << name;
    }
    EXPECT_EQ(fs::file_size(fs::path(Device()) / "kovahdd" / "pfr.bin"), 8u);
    EXPECT_NE(outcome.output.find("(playlists written: artist, album, title, genre, audio files)."), std::string::npos)
        << outcome.output;
}

TEST_F(KovahddTest, ProfileSummarisesWhatThePlayerWillShowAndNamesWhatItCannotAddress)
{
    for (const char* name : {"Band - Song.mp3", "日本.mp3"}) testsupport::WriteWholeFile(Device() + "/" + name, "");
    testsupport::WriteWholeFile(Device() + "/tagless.mp3", std::string(300, 'x'));
    const Outcome outcome = Run("profile '" + Device() + "'");
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("The player will show 1 track, 1 artist, 1 album and 1 genre"), std::string::npos)
        << outcome.output;

    testsupport::WriteWholeFile(Device() + "/日本.mp3", std::string(300, 'x'));
    const Outcome named = Run("profile '" + Device() + "'");
    EXPECT_NE(named.output.find("Warning: 1 song has a name with characters the player cannot read"), std::string::npos)
        << named.output;
    EXPECT_NE(named.output.find("\\日本.mp3\n"), std::string::npos) << named.output;
}

TEST(KovahddFullDeviceTest, PlaylistsThatCannotBeWrittenGiveTheirOwnExitStatus)
{
    const testsupport::TemporaryDevice small('F', 64 * 1024);
    if (!small.IsSizeLimited()) GTEST_SKIP() << "needs root to mount a size-limited tmpfs";
    small.WriteFile("a.mp3", std::string(300, 'x'));
    for (int i = 0;; ++i) {
        try {
            small.WriteFile(std::string(200, 'n') + std::to_string(i) + ".mp3", std::string(2000, 'x'));
        } catch (const std::exception&) {
            break;
        }
    }
    const std::string command = std::string("env KOVAHDD_DRIVES= ") + KOVAHDD_EXECUTABLE + " profile '" +
                                small.directory() + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 6);
}

TEST_F(KovahddTest, ProfileTellsEachOutcomeByItsExitStatus)
{
    testsupport::WriteWholeFile(Folder("device") + "/readme.txt", "no songs here");
    const Outcome noAudio = Run("profile '" + Device() + "'");
    EXPECT_EQ(noAudio.exitStatus, 4);
    EXPECT_NE(noAudio.output.find("Profile aborted.  No audio files on device to profile."), std::string::npos);

    EXPECT_EQ(Run("profile '" + Device() + "/missing'").exitStatus, 2);
    EXPECT_EQ(Run("profile Q:").exitStatus, 2);
    EXPECT_EQ(Run("profile").exitStatus, 2);
}

// A system file as the installation carries it: its name at offset 4 and its version at offset 40.
std::string SystemFile(const std::string& name, const std::string& version)
{
    std::string bytes(64, '\0');
    bytes.replace(4, name.size(), name);
    bytes.replace(40, version.size(), version);
    bytes.replace(48, 4, "KOVA");
    return bytes + "program";
}

TEST_F(KovahddTest, UpdateTakesTheModelOfTheDetectedJukebox)
{
    const std::string installed = Folder("installed");
    Folder("installed/CORVANE");
    Folder("installed/sys_help");
    for (const char* name : {"config.exe", "mp3.exe", "usi.exe", "pfr.exe"}) {
        testsupport::WriteWholeFile(installed + "/CORVANE/" + name, SystemFile(name, "V1.00"));
    }
    for (const char* name : {"SystemSettings", "Main", "UserPlaylists"}) {
        testsupport::WriteWholeFile(installed + "/sys_help/" + name + std::string("_help.bin"),
                                    std::string("KOVAHDHLP\0\0\0\0\0\0\0help", 20));
    }

    const Outcome outcome = Run("update F:", "F=" + Device() + "|Corvane|Kova PJ Storage");
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("The Corvane Kova Personal Jukebox device (F:) system files were successfully updated."),
              std::string::npos)
        << outcome.output;
    EXPECT_TRUE(fs::exists(fs::path(Device()) / "kovahdd" / "mp3.exe"));
    EXPECT_TRUE(fs::exists(fs::path(Device()) / "kovahdd" / "sys_help" / "Main_help.bin"));
}

TEST_F(KovahddTest, UpdateOfAnUnknownDriveWantsTheModelNamed)
{
    const Outcome outcome = Run("update '" + Device() + "'");
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_NE(outcome.output.find("--model"), std::string::npos) << outcome.output;
    EXPECT_FALSE(fs::exists(fs::path(Device()) / "kovahdd"));
}

}  // namespace
