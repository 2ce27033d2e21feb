// Runs the kovahdd program as a user would, on temporary devices.

#include "platform/copytemporaries.h"
#include "testsupport/childprocess.h"
#include "testsupport/devicegenerator.h"
#include "testsupport/devicetree.h"
#include "testsupport/fatimage.h"
#include "testsupport/id3builder.h"
#include "testsupport/terminalsession.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>

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
        return RunShell(Command(arguments, drives, installed) + " 2>&1");
    }

    // kovahdd with the arguments as a shell command, its standard error going with its output.
    std::string Command(const std::string& arguments, const std::string& drives = "",
                        const std::optional<std::string>& installed = std::nullopt)
    {
        return "env XDG_CONFIG_HOME='" + Folder("config") + "' XDG_STATE_HOME='" + Folder("state") + "' KOVAHDD_SYSFS='" + Folder("sys") + "' KOVAHDD_DRIVES='" +
               drives + "' KOVAHDD_INSTALLED_FILES='" + installed.value_or(Folder("installed")) + "' " +
               KOVAHDD_EXECUTABLE + " " + arguments;
    }

    static Outcome RunShell(const std::string& command)
    {
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

    // The environment Command gives, for a program started in the background.
    std::map<std::string, std::string> Environment(const std::string& drives)
    {
        return {{"XDG_CONFIG_HOME", Folder("config")}, {"XDG_STATE_HOME", Folder("state")},
                {"KOVAHDD_SYSFS", Folder("sys")},      {"KOVAHDD_DRIVES", drives},
                {"KOVAHDD_INSTALLED_FILES", Folder("installed")}};
    }

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

// Playlists of the kinds a verification meets: CR LF and LF lines, an entry for another drive letter,
// names differing from the file's only in letter case, a missing file, an entry with a TAB, and a
// playlist of 0 bytes.
constexpr const char* kMixedPlaylist = "#EXTM3U\r\nC:\\Music\\song.mp3\r\n\\music\\SONG.MP3\n"
                                       "gone.mp3\r\nMusic\\bad\tname.mp3\n..\\Music\\Song.mp3\n";
constexpr const char* kMixedPlaylistCleaned = "#EXTM3U\r\nC:\\Music\\song.mp3\r\n\\music\\SONG.MP3\n"
                                              "..\\Music\\Song.mp3\n";

class KovahddVerifyTest : public KovahddTest {
protected:
    KovahddVerifyTest()
    {
        fs::create_directories(Device() + "/Music");
        testsupport::WriteWholeFile(Device() + "/Music/Song.mp3", testsupport::Mp3File(""));
        fs::create_directories(Device() + "/kovahdd_playlists");
        testsupport::WriteWholeFile(Playlist("mixed.m3u"), kMixedPlaylist);
        testsupport::WriteWholeFile(Playlist("empty.m3u"), "");
    }

    std::string Playlist(const std::string& name) const { return Device() + "/kovahdd_playlists/" + name; }
    // Standard input is no terminal, as in a script.
    Outcome Verify(const std::string& flags) { return Run("verify '" + Device() + "' " + flags + " </dev/null"); }

    static void ExpectBadEntriesReported(const std::string& output)
    {
        EXPECT_NE(output.find("mixed.m3u: missing gone.mp3\n"), std::string::npos) << output;
        EXPECT_NE(output.find("mixed.m3u: invalid characters Music\\bad^Iname.mp3\n"), std::string::npos) << output;
        EXPECT_NE(output.find("empty.m3u: empty\n"), std::string::npos) << output;
        EXPECT_EQ(output.find("mixed.m3u: missing C:"), std::string::npos) << output;
        EXPECT_EQ(output.find("SONG.MP3"), std::string::npos) << output;
    }
};

TEST_F(KovahddVerifyTest, RemoveAllRewritesTheMixedPlaylistAndDeletesTheEmptyOne)
{
    const Outcome outcome = Verify("--remove-all");
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    ExpectBadEntriesReported(outcome.output);
    EXPECT_NE(outcome.output.find("mixed.m3u: rewritten\n"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("empty.m3u: deleted\n"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("a profile of the device is advised"), std::string::npos) << outcome.output;
    EXPECT_EQ(testsupport::ReadWholeFile(Playlist("mixed.m3u")), kMixedPlaylistCleaned);
    EXPECT_FALSE(fs::exists(Playlist("empty.m3u")));
    EXPECT_FALSE(fs::exists(Device() + "/kovahdd"));
}

TEST_F(KovahddVerifyTest, WithoutATerminalOrWithKeepAllItOnlyReports)
{
    for (const char* flags : {"", "--keep-all"}) {
        const Outcome outcome = Verify(flags);
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        ExpectBadEntriesReported(outcome.output);
        EXPECT_EQ(outcome.output.find("rewritten"), std::string::npos) << outcome.output;
        EXPECT_EQ(testsupport::ReadWholeFile(Playlist("mixed.m3u")), kMixedPlaylist);
        EXPECT_TRUE(fs::exists(Playlist("empty.m3u")));
    }
}

TEST_F(KovahddVerifyTest, ProfileFlagProfilesTheDeviceAfterAChange)
{
    const Outcome outcome = Verify("--remove-all --profile");
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("Profiling finished."), std::string::npos) << outcome.output;
    EXPECT_TRUE(fs::exists(fs::path(Device()) / "kovahdd" / "sys_playlist" / "audiofiles.m3u"));
}

TEST_F(KovahddVerifyTest, ExitStatusTellsEachOutcome)
{
    EXPECT_EQ(Verify("--keep-all --remove-all").exitStatus, 2);
    EXPECT_EQ(Run("verify").exitStatus, 2);
    fs::remove(Playlist("mixed.m3u"));
    fs::remove(Playlist("empty.m3u"));
    testsupport::WriteWholeFile(Playlist("cover.jpg"), "JPEG");
    const Outcome none = Verify("");
    EXPECT_EQ(none.exitStatus, 4) << none.output;
    EXPECT_NE(none.output.find("No user playlists were found"), std::string::npos) << none.output;
    fs::remove_all(Device() + "/kovahdd_playlists");
    const Outcome noFolder = Verify("");
    EXPECT_EQ(noFolder.exitStatus, 5) << noFolder.output;
    EXPECT_NE(noFolder.output.find("has no kovahdd_playlists folder"), std::string::npos) << noFolder.output;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(KovahddTest, SyncCommandsEditTheProfile)
{
    const std::string drives = "E=" + Device() + "|Corvane|Kova HD Storage";
    Folder("device/Music");
    const std::string music = Folder("music");
    Folder("music/Rock");
    Folder("device/Jazz");
    ASSERT_EQ(Run("sync set --device e --option both --cleanup on --profile-after off", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "' 'E:\\Music'", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '  " + music + "/Rock  ' 'E:\\Rock'", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "/Jazz' '" + Device() + "/Jazz'", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync remove 2", drives).exitStatus, 0);

    const Outcome shown = Run("sync show", drives);
    EXPECT_EQ(shown.exitStatus, 0);
    EXPECT_EQ(shown.output, "Device:             E:\n"
                            "Option:             Synchronize PC and Device\n"
                            "Clean-up:           on  (not used with this option)\n"
                            "Profile after sync: off\n"
                            "Items:\n"
                            "  1  " + music + "  ->  E:\\Music\n"
                            "  2  " + music + "/Jazz  ->  E:\\Jazz\n");
}

TEST_F(KovahddTest, SyncTellsEachRefusalByItsExitStatus)
{
    const std::string drives = "E=" + Device() + "|Corvane|Kova HD Storage";
    ASSERT_EQ(Run("sync set --device E", drives).exitStatus, 0);
    const std::string music = Folder("music");

    const Outcome otherDrive = Run("sync add '" + music + "' 'F:\\Music'", drives);
    EXPECT_EQ(otherDrive.exitStatus, 2);
    EXPECT_TRUE(Contains(otherDrive.output, "The path must be on the same drive as the selected Kova Jukebox device (E)."))
        << otherDrive.output;

    // Without a terminal to ask, a missing folder is not created unless told so.
    const Outcome notCreated = Run("sync add '" + music + "' 'E:\\New\\Sub' < /dev/null", drives);
    EXPECT_EQ(notCreated.exitStatus, 2);
    EXPECT_FALSE(fs::exists(Device() + "/New"));
    EXPECT_EQ(Run("sync add '" + music + "' 'E:\\New\\Sub' --create-folders", drives).exitStatus, 0);
    EXPECT_TRUE(fs::is_directory(Device() + "/New/Sub"));

    EXPECT_EQ(Run("sync remove 5", drives).exitStatus, 2);
    EXPECT_EQ(Run("sync set --option sideways", drives).exitStatus, 2);
    EXPECT_EQ(Run("sync", drives).exitStatus, 2);
}

// Artist and album folders named with dots ("R.E.M.", "Vol. 1") are folders, there or not yet: a
// missing one is made as a folder, in either direction, on the player's FAT file system.
TEST_F(KovahddTest, SyncOfDottedFoldersMakesTheMissingOneAFolder)
{
    const testsupport::FatImage fat;
    const std::string device = fat.mounted() ? fat.directory() : Device();
    const std::string drives = "E=" + device + "|Corvane|Kova HD Storage";
    ASSERT_EQ(Run("sync set --device E --profile-after off", drives).exitStatus, 0);
    struct Case {
        const char* option;
        const char* folder;
        bool onPc;  // the folder is there before: on the PC, with pc.mp3; on the device, with device.mp3
        bool onDevice;
    };
    const Case cases[] = {
        {"pc-to-device", "R.E.M.", true, false}, {"pc-to-device", "B.B. King", true, true},
        {"device-to-pc", "Vol. 1", false, true}, {"device-to-pc", "Mr. Big", true, true},
        {"both", "St. Germain", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string pcFolder = Folder("music") + "/" + c.folder;
        const std::string deviceFolder = device + "/" + c.folder;
        if (c.onPc) testsupport::WriteWholeFile(Folder("music/" + std::string(c.folder)) + "/pc.mp3", "pc");
        if (c.onDevice) {
            fs::create_directory(deviceFolder);
            testsupport::WriteWholeFile(deviceFolder + "/device.mp3", "device");
        }
        ASSERT_EQ(Run(std::string("sync set --option ") + c.option, drives).exitStatus, 0);
        const Outcome added =
            Run("sync add '" + pcFolder + "' 'E:\\" + c.folder + "' --create-folders < /dev/null", drives);
        ASSERT_EQ(added.exitStatus, 0) << added.output;
        const Outcome run = Run("sync run < /dev/null", drives);
        EXPECT_EQ(run.exitStatus, 0) << run.output;
        EXPECT_TRUE(Contains(run.output, "copied 1, copied back 0")) << run.output;
        // PC paths as Linux paths, also the destinations the progress names.
        EXPECT_FALSE(Contains(run.output, "Z:\\")) << run.output;
        const bool toDevice = std::string_view(c.option) != "device-to-pc";
        EXPECT_TRUE(fs::is_regular_file(toDevice ? deviceFolder + "/pc.mp3" : pcFolder + "/device.mp3"));
        ASSERT_EQ(Run("sync remove 1", drives).exitStatus, 0);
    }
}

// Both programs read, change and save the profile at the same moment, again and again: each
// change survives and the file stays whole.
TEST_F(KovahddTest, ParallelSavesLoseNothing)
{
    const std::string music = Folder("music");
    for (int i = 0; i < 12; ++i) ASSERT_EQ(Run("sync add '" + Folder("music/" + std::to_string(i)) + "' ''").exitStatus, 0);
    for (int round = 0; round < 25; ++round) {
        const bool on = round % 2 == 0;
        const std::string cleanup = Command(std::string("sync set --cleanup ") + (on ? "on" : "off"));
        const std::string profile = Command(std::string("sync set --profile-after ") + (on ? "off" : "on"));
        const Outcome both = RunShell("(" + cleanup + " >/dev/null 2>&1 & a=$!; " + profile +
                                      " >/dev/null 2>&1 & b=$!; wait $a; x=$?; wait $b; echo $x $?)");
        ASSERT_EQ(both.output, "0 0\n") << "round " << round;
        const Outcome shown = Run("sync show");
        ASSERT_TRUE(Contains(shown.output, std::string("Clean-up:           ") + (on ? "on" : "off"))) << shown.output;
        ASSERT_TRUE(Contains(shown.output, std::string("Profile after sync: ") + (on ? "off" : "on"))) << shown.output;
        ASSERT_TRUE(Contains(shown.output, "  12  " + music + "/11  ->  \n")) << shown.output;
        ASSERT_FALSE(Contains(shown.output, "warning")) << shown.output;
    }
}

TEST_F(KovahddTest, SyncRunListsCopiesThenMakesThemAndCountsThem)
{
    const std::string drives = "E=" + Device() + "|Corvane|Kova HD Storage";
    const std::string music = Folder("music");
    testsupport::WriteWholeFile(music + "/a.mp3", "a");
    testsupport::WriteWholeFile(Folder("device/Music") + "/old.mp3", "old");
    ASSERT_EQ(Run("sync set --device E --cleanup on --profile-after off", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "' 'E:\\Music'", drives).exitStatus, 0);

    const Outcome dryRun = Run("sync run --dry-run", drives);
    EXPECT_EQ(dryRun.exitStatus, 0) << dryRun.output;
    EXPECT_TRUE(Contains(dryRun.output, "copy       " + music + "/a.mp3 -> E:\\Music\\a.mp3\n")) << dryRun.output;
    EXPECT_TRUE(Contains(dryRun.output, "delete     E:\\Music\\old.mp3\n")) << dryRun.output;
    EXPECT_TRUE(Contains(dryRun.output, "copied 1, copied back 0, deleted 1, conflicts 0\n")) << dryRun.output;
    EXPECT_TRUE(fs::exists(Device() + "/Music/old.mp3"));
    EXPECT_FALSE(fs::exists(Device() + "/Music/a.mp3"));
    EXPECT_TRUE(fs::is_empty(Folder("state")));

    // Deleting the device folder's only file is asked about (SyncRunAsksBeforeACleanUpEmptiesItsDestination).
    const Outcome run = Run("sync run --allow-mass-delete", drives);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "Synchronization finished.")) << run.output;
    EXPECT_TRUE(Contains(run.output, "copied 1, copied back 0, deleted 1, conflicts 0\n")) << run.output;
    EXPECT_EQ(testsupport::ReadWholeFile(Device() + "/Music/a.mp3"), "a");
    EXPECT_FALSE(fs::exists(Device() + "/Music/old.mp3"));
    EXPECT_TRUE(Contains(Run("sync run", drives).output, "copied 0, copied back 0, deleted 0, conflicts 0\n"));
}

TEST_F(KovahddTest, SyncRunDecidesConflictsAsToldAndTellsEachEndByItsExitStatus)
{
    const std::string drives = "E=" + Device() + "|Corvane|Kova HD Storage";
    const std::string music = Folder("music");
    testsupport::WriteWholeFile(music + "/a.mp3", "pc");
    testsupport::WriteWholeFile(Folder("device/Music") + "/a.mp3", "device");
    EXPECT_EQ(Run("sync run", drives).exitStatus, 2);  // no items
    ASSERT_EQ(Run("sync set --device E --option both --profile-after off", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "' 'E:\\Music'", drives).exitStatus, 0);

    // Without a terminal a conflict is skipped, unless --conflicts decides it.
    const Outcome skipped = Run("sync run --dry-run < /dev/null", drives);
    EXPECT_TRUE(Contains(skipped.output, "copied 0, copied back 0, deleted 0, conflicts 1\n")) << skipped.output;
    const Outcome deviceWins = Run("sync run --conflicts device", drives);
    EXPECT_EQ(deviceWins.exitStatus, 0) << deviceWins.output;
    EXPECT_TRUE(Contains(deviceWins.output, "copied 0, copied back 1, deleted 0, conflicts 1\n")) << deviceWins.output;
    EXPECT_EQ(testsupport::ReadWholeFile(music + "/a.mp3"), "device");

    EXPECT_EQ(Run("sync run --conflicts sometimes", drives).exitStatus, 2);
    EXPECT_EQ(Run("sync set --device F", drives).exitStatus, 0);
    const Outcome gone = Run("sync run", drives);
    EXPECT_EQ(gone.exitStatus, 5) << gone.output;
    EXPECT_TRUE(Contains(gone.output, "The device is no longer connected")) << gone.output;
}

TEST_F(KovahddTest, SyncRunToAFullDeviceEndsWithStatus8)
{
    testsupport::TemporaryDevice small('S', 64 * 1024);
    if (!small.IsSizeLimited()) GTEST_SKIP() << "a size-limited tmpfs needs root";
    const std::string drives = "E=" + small.directory() + "|Corvane|Kova HD Storage";
    const std::string music = Folder("music");
    testsupport::WriteWholeFile(music + "/big.mp3", std::string(256 * 1024, 'x'));
    ASSERT_EQ(Run("sync set --device E --profile-after off", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "' 'E:\\Music' --create-folders", drives).exitStatus, 0);

    const Outcome full = Run("sync run", drives);
    EXPECT_EQ(full.exitStatus, 8) << full.output;
    EXPECT_TRUE(Contains(full.output, "Synchronization aborted: Destination full")) << full.output;
    EXPECT_FALSE(fs::exists(Folder("state") + "/kovahdd/KovaSyncInfo.bin"));
}

// Files of a folder, each with its content.
std::map<std::string, std::string> FilesIn(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename()] = testsupport::ReadWholeFile(entry.path().string());
    }
    return files;
}

bool HoldsACopyTemporary(const std::string& folder)
{
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        if (platform::CopyTemporaryProcess(entry.path().filename().string()) != 0) return true;
    }
    return false;
}

// A run killed during a new song's copy to a FAT disk leaves no file of the song's name, only its
// temporary file; a second run beside it is refused; the next run copies the song whole and
// neither copies the temporary file back nor leaves it.
TEST_F(KovahddTest, AKilledSyncRunLeavesNoFragmentAndTheNextCopiesWhole)
{
    const testsupport::FatImage fat;
    if (!fat.mounted()) GTEST_SKIP() << "needs /dev/fuse, fusefat and mkfs.vfat";
    const std::string drives = "E=" + fat.directory() + "|Corvane|Kova HD Storage";
    const std::string music = Folder("music");
    std::string song(20 * 1024 * 1024, 's');
    for (std::size_t i = 0; i < song.size(); i += 4096) song[i] = static_cast<char>(i / 4096);
    testsupport::WriteWholeFile(music + "/c3.mp3", song);
    ASSERT_EQ(Run("sync set --device E --option both --profile-after off", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "' 'E:\\Music' --create-folders", drives).exitStatus, 0);

    testsupport::ChildProcess first({KOVAHDD_EXECUTABLE, "sync", "run"}, Environment(drives), Folder("first") + "/err");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!HoldsACopyTemporary(fat.directory() + "/Music") && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(HoldsACopyTemporary(fat.directory() + "/Music")) << "the first run never started its copy";
    const Outcome second = Run("sync run", drives);
    EXPECT_EQ(second.exitStatus, 7) << second.output;
    EXPECT_TRUE(Contains(second.output, "Another synchronization is running.")) << second.output;
    kill(first.pid(), SIGKILL);
    ASSERT_EQ(first.WaitForExit(std::chrono::seconds(10)), 128 + SIGKILL);
    EXPECT_FALSE(fs::exists(fat.directory() + "/Music/c3.mp3"));

    const Outcome next = Run("sync run < /dev/null", drives);
    EXPECT_EQ(next.exitStatus, 0) << next.output;
    EXPECT_TRUE(Contains(next.output, "copied 1, copied back 0, deleted 0, conflicts 0\n")) << next.output;
    EXPECT_TRUE(FilesIn(fat.directory() + "/Music") == (std::map<std::string, std::string>{{"c3.mp3", song}}));
    EXPECT_EQ(FilesIn(music).size(), 1u);
}

// Names FAT does not allow, a named pipe and a file of 5 GiB are foreseen by a dry run and named with
// their reasons by the run, which copies the rest and ends with status 6.
TEST_F(KovahddTest, SyncRunNamesWhatItCannotCopyToAFatDevice)
{
    const testsupport::FatImage fat;
    if (!fat.mounted()) GTEST_SKIP() << "needs /dev/fuse, fusefat and mkfs.vfat";
    const std::string drives = "E=" + fat.directory() + "|Corvane|Kova HD Storage";
    const std::string music = Folder("music");
    for (const char* name : {"a:b.mp3", "p|q.mp3", "good.mp3"}) testsupport::WriteWholeFile(music + "/" + name, name);
    ASSERT_EQ(mkfifo((music + "/pipe.mp3").c_str(), 0644), 0);
    testsupport::WriteWholeFile(music + "/huge.mp3", "");
    fs::resize_file(music + "/huge.mp3", 5ull << 30);
    ASSERT_EQ(Run("sync set --device E --profile-after off", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "' 'E:\\Music' --create-folders", drives).exitStatus, 0);

    const Outcome dryRun = Run("sync run --dry-run", drives);
    EXPECT_EQ(dryRun.exitStatus, 6) << dryRun.output;
    for (const char* name : {"a:b.mp3", "p|q.mp3", "pipe.mp3", "huge.mp3"}) {
        EXPECT_TRUE(Contains(dryRun.output, "cannot copy " + music + "/" + name + " -> E:\\Music\\")) << name;
    }
    const Outcome run = Run("sync run", drives);
    EXPECT_EQ(run.exitStatus, 6) << run.output;
    EXPECT_TRUE(Contains(run.output, "These were not copied:\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, music + "/a:b.mp3 (its name holds ':', which FAT and Windows names cannot hold)\n"))
        << run.output;
    EXPECT_TRUE(Contains(run.output, music + "/pipe.mp3 (it is a named pipe")) << run.output;
    EXPECT_TRUE(Contains(run.output, music + "/huge.mp3 (it is larger than the 4 GiB")) << run.output;
    EXPECT_TRUE(FilesIn(fat.directory() + "/Music") == (std::map<std::string, std::string>{{"good.mp3", "good.mp3"}}));
}

TEST_F(KovahddTest, ASyncRunWhoseStateCannotBeSavedSaysSoAndFails)
{
    const std::string drives = "E=" + Device() + "|Corvane|Kova HD Storage";
    const std::string music = Folder("music");
    testsupport::WriteWholeFile(music + "/a.mp3", "a");
    ASSERT_EQ(Run("sync set --device E --profile-after off", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "' 'E:\\Music' --create-folders", drives).exitStatus, 0);
    const std::string stateFile = Folder("state/kovahdd/KovaSyncInfo.bin");  // a folder in the file's place

    const Outcome run = Run("sync run", drives);
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, "The record of this synchronization could not be saved, so the next one will "
                                     "take every file for new:\n" + stateFile + " (")) << run.output;
    EXPECT_EQ(testsupport::ReadWholeFile(Device() + "/Music/a.mp3"), "a");
}

// Before a clean-up deletes every file of its destination it asks: the person at the terminal
// answers, without a terminal the answer is no, and --allow-mass-delete answers yes. No keeps every
// file, still makes the copies, and ends with status 9. A dry run says it would ask.
TEST_F(KovahddTest, SyncRunAsksBeforeACleanUpEmptiesItsDestination)
{
    const std::string drives = "E=" + Device() + "|Corvane|Kova HD Storage";
    const std::string music = Folder("music");
    testsupport::WriteWholeFile(music + "/new.mp3", "new");
    Folder("device/Music");
    ASSERT_EQ(Run("sync set --device E --cleanup on --profile-after off", drives).exitStatus, 0);
    ASSERT_EQ(Run("sync add '" + music + "' 'E:\\Music'", drives).exitStatus, 0);
    const std::map<std::string, std::string> old{{"a.mp3", "a"}, {"b.mp3", "b"}, {"c.mp3", "c"}};
    struct Case {
        const char* name;
        const char* options;
        std::optional<std::string> typed;  // on a terminal, what the person types; else no terminal
        int exitStatus;
        bool kept;
        const char* said;
    };
    const Case cases[] = {
        {"yes at the terminal", "", "y\n", 0, false, "[y/N] "},
        {"Enter at the terminal", "", "\n", 9, true,
         "These were not cleaned up, as the deletions were not confirmed:\nE:\\Music (kept 3 files that the source "
         "does not have)\n"},
        {"no terminal", "", std::nullopt, 9, true,
         "(no: there is no terminal to ask; --allow-mass-delete answers yes)\n"},
        {"allowed", " --allow-mass-delete", std::nullopt, 0, false, "(yes)\n"},
        {"dry run", " --dry-run", std::nullopt, 0, true,
         "(the run would ask this; the dry run goes on as after a yes)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Device() + "/Music");
        for (const auto& [name, content] : old) testsupport::WriteWholeFile(Folder("device/Music") + "/" + name, content);
        const std::string command = Command(std::string("sync run") + c.options, drives);
        const Outcome outcome = c.typed ? [&] {
            const testsupport::TerminalOutcome shown = testsupport::RunOnTerminal(command, *c.typed);
            return Outcome{shown.output, shown.exitStatus};
        }()
                                        : RunShell(command + " < /dev/null 2>&1");

        EXPECT_EQ(outcome.exitStatus, c.exitStatus) << outcome.output;
        EXPECT_TRUE(Contains(outcome.output, "Device Synchronization: Delete 3 files on the device that are not in " +
                                                 music + "?\n\nThat is every file in E:\\Music.\nNo keeps them all; "
                                                         "the copies are made either way.\n"))
            << outcome.output;
        EXPECT_TRUE(Contains(outcome.output, c.said)) << outcome.output;
        std::map<std::string, std::string> expected = c.kept ? old : std::map<std::string, std::string>{};
        if (!Contains(c.options, "--dry-run")) expected["new.mp3"] = "new";
        EXPECT_EQ(FilesIn(Device() + "/Music"), expected);
    }
}

// A device mapped to a directory whose file system is not mounted reads as an empty device: device to
// PC with clean-up must not take that for a device without songs and empty the PC.
TEST_F(KovahddTest, AnEmptyMountPointNeverEmptiesThePc)
{
    const std::string mountPoint = Folder("mountpoint");
    const std::string drives = "E=" + mountPoint + "|Corvane|Kova HD Storage";
    const std::string music = Folder("music");
    const std::map<std::string, std::string> songs{{"a.mp3", "a"}, {"b.mp3", "b"}};
    for (const auto& [name, content] : songs) testsupport::WriteWholeFile(music + "/" + name, content);
    ASSERT_EQ(Run("sync set --device E --option device-to-pc --cleanup on --profile-after off", drives).exitStatus, 0);
    struct Case {
        const char* devicePath;
        int exitStatus;
        const char* said;
    };
    const Case cases[] = {
        {"E:\\", 9, "Delete 2 files on the PC that are not in E:\\?"},
        {"E:\\Music", 6,
         "These items could not be synchronized, so nothing was copied or deleted for them:\nE:\\Music (it does not "
         "exist)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.devicePath);
        // The item is made while the device's file system is there, which then goes.
        Folder("mountpoint/Music");
        ASSERT_EQ(Run("sync add '" + music + "' '" + c.devicePath + "'", drives).exitStatus, 0);
        fs::remove(mountPoint + "/Music");

        const Outcome run = Run("sync run < /dev/null", drives);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.output;
        EXPECT_TRUE(Contains(run.output, c.said)) << run.output;
        EXPECT_TRUE(Contains(run.output, "copied 0, copied back 0, deleted 0, conflicts 0\n")) << run.output;
        EXPECT_EQ(FilesIn(music), songs);
        ASSERT_EQ(Run("sync remove 1", drives).exitStatus, 0);
    }
}

}  // namespace
