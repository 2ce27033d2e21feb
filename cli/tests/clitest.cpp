// Runs the kovahdd program as a user would, on temporary devices.

#include "testsupport/devicegenerator.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    std::string output;  // standard output and standard error together
    int exitStatus = -1;
};

class KovahddTest : public testing::Test {
protected:
    // Runs kovahdd with the arguments, in an environment that knows no drives but those given, and
    // whose installed copies are in the folder "installed" unless another (or "", none) is given.
    Outcome Run(const std::string& arguments, const std::string& drives = "",
                const std::optional<std::string>& installed = std::nullopt)
    {
        const std::string command = "env XDG_CONFIG_HOME='" + Folder("config") + "' KOVAHDD_SYSFS='" + Folder("sys") +
                                    "' KOVAHDD_DRIVES='" + drives + "' KOVAHDD_INSTALLED_FILES='" +
                                    installed.value_or(Folder("installed")) + "' " + KOVAHDD_EXECUTABLE + " " +
                                    arguments + " 2>&1";
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
    EXPECT_EQ(outcome.output.find("no installed copies"), std::string::npos) << outcome.output;
}

// Without installed copies the update cannot succeed: the tool names the folder it looked in, the
// one named in KOVAHDD_INSTALLED_FILES or else the one beside the engine library.
TEST_F(KovahddTest, UpdateWithoutInstalledCopiesNamesTheFolderItLookedIn)
{
    const std::string empty = Folder("empty");
    Folder("empty/sys_help");
    const std::string besideEngine = std::string(KOVA_ENGINE_FOLDER) + "/kovahdd";
    for (const auto& [variable, folder] : {std::pair{empty, empty}, std::pair{std::string(), besideEngine}}) {
        const Outcome outcome = Run("update F: --model hd", "F=" + Device(), variable);
        EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
        EXPECT_NE(outcome.output.find("ERROR: Error occurred while trying to update the help files."),
                  std::string::npos)
            << outcome.output;
        EXPECT_NE(outcome.output.find("no installed copies of the device files in " + folder + " "),
                  std::string::npos)
            << outcome.output;
    }
}

TEST_F(KovahddTest, UpdateOfAnUnknownDriveWantsTheModelNamed)
{
    const Outcome outcome = Run("update '" + Device() + "'");
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_NE(outcome.output.find("--model"), std::string::npos) << outcome.output;
    EXPECT_FALSE(fs::exists(fs::path(Device()) / "kovahdd"));
}

}  // namespace
