// Faults of real disks and hostile trees, made where they happen: a full tmpfs or FAT32 disk, a
// device directory that goes away, a FAT32 file system, a folder that cannot be listed, links, names
// the code page or FAT cannot hold, files that cannot be copied, what killed runs left behind.

#include "platform/copytemporaries.h"
#include "testsupport/fatimage.h"
#include "trayhost/sync/dryrunsyncfilesystem.h"
#include "trayhost/sync/syncrun.h"
#include "trayhost/sync/syncstate.h"
#include "trayhost/sync/tests/syncscenario.h"

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace trayhost {
namespace {

namespace fs = std::filesystem;
constexpr int64_t kTime = SyncScenario::kTime;

// Takes from the calling thread the capabilities by which root reads and writes what its
// permissions forbid, so that a folder of mode 000 cannot be listed, as for any user.
class ScopedWithoutFileCapabilities {
public:
    ScopedWithoutFileCapabilities()
    {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header_, reduced);
    }
    ~ScopedWithoutFileCapabilities() { syscall(SYS_capset, &header_, saved_); }
    ScopedWithoutFileCapabilities(const ScopedWithoutFileCapabilities&) = delete;
    ScopedWithoutFileCapabilities& operator=(const ScopedWithoutFileCapabilities&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

TEST(SyncFaultsTest, AFullDestinationKeepsTheFileBeingReplacedWhole)
{
    SyncScenario scenario(96 * 1024);
    if (!scenario.device.IsSizeLimited()) GTEST_SKIP() << "a size-limited tmpfs needs root";
    SyncScenario::Write(scenario.device, "Music/a.mp3", "old bytes");
    SyncScenario::Write(scenario.pc, "Music/a.mp3", std::string(256 * 1024, 'n'), kTime + 10);
    SyncScenario::Write(scenario.pc, "Music/b.mp3", "b");
    scenario.AddItem("P:\\Music", "E:\\Music");

    const SyncRun& run = scenario.Run();
    EXPECT_EQ(run.outcome(), SyncOutcome::DestinationFull);
    EXPECT_EQ(TreeOf(scenario.device.directory()),
              (std::map<std::string, std::string>{{"Music", "<dir>"}, {"Music/a.mp3", "old bytes"}}));
}

TEST(SyncFaultsTest, ADeviceThatGoesAwayMidRunLeavesThePcUntouched)
{
    SyncScenario scenario;
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "pc a");
    SyncScenario::Write(scenario.pc, "Music/b.mp3", "pc b");
    SyncScenario::Write(scenario.device, "Music/a.mp3", "device a");
    SyncScenario::Write(scenario.device, "Music/c.mp3", "device c");
    scenario.settings.option = SyncOption::SyncBoth;
    scenario.AddItem("P:\\Music", "E:\\Music");
    scenario.ui.ScriptSyncConflictAnswer({kIdOk, SyncConflictChoice::DeviceOverwritesPc, true});
    const auto pcBefore = TreeOf(scenario.pc.directory());
    scenario.view.onNotice = [&](SyncNotice notice) {
        if (notice == SyncNotice::SyncingDevice) fs::remove_all(scenario.device.directory());
    };

    const SyncRun& run = scenario.Run();
    EXPECT_EQ(run.outcome(), SyncOutcome::DeviceLost);
    EXPECT_EQ(TreeOf(scenario.pc.directory()), pcBefore);
}

TEST(SyncFaultsTest, ASecondRunToAFatDeviceCopiesNothing)
{
    for (const SyncOption option : {SyncOption::PcToDevice, SyncOption::SyncBoth}) {
        SCOPED_TRACE(static_cast<int>(option));
        SyncScenario scenario;
        scenario.device.Unplug();
        const testsupport::FatImage fat;
        if (!fat.mounted()) GTEST_SKIP() << "needs /dev/fuse, fusefat and mkfs.vfat";
        // Odd seconds, which FAT cannot keep.
        SyncScenario::Write(scenario.pc, "Music/a.mp3", "A", kTime + 1);
        SyncScenario::Write(scenario.pc, "Music/Sub/b.mp3", "BB", kTime + 3);
        scenario.settings.option = option;
        scenario.AddItem("P:\\Music", "E:\\Music");

        EXPECT_EQ(scenario.Run().tally().copied, 3);
        const SyncRun& second = scenario.Run();
        EXPECT_EQ(second.outcome(), SyncOutcome::Completed);
        EXPECT_EQ(second.tally().copied, 0);
        EXPECT_EQ(second.tally().copiedBack, 0);
        EXPECT_EQ(second.tally().conflicts, 0);

        // A file replaced on the device keeps its time too.
        SyncScenario::Write(scenario.pc, "Music/a.mp3", "A changed", kTime + 11);
        scenario.ui.ScriptSyncConflictAnswer({kIdOk, SyncConflictChoice::PcOverwritesDevice});
        EXPECT_EQ(scenario.Run().tally().copied, 1);
        EXPECT_EQ(scenario.Run().tally().copied, 0);
    }
}

// fusefat fails a write to a full disk with EPERM, not ENOSPC: the run still ends as full.
TEST(SyncFaultsTest, AFullFatDeviceEndsTheRunAsFull)
{
    SyncScenario scenario;
    scenario.device.Unplug();
    const testsupport::FatImage fat;
    if (!fat.mounted()) GTEST_SKIP() << "needs /dev/fuse, fusefat and mkfs.vfat";
    testsupport::WriteWholeFile(fat.directory() + "/a.mp3", "old bytes");
    {
        std::ofstream filler(fat.directory() + "/filler", std::ios::binary);
        const std::string block(1024 * 1024, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }
    SyncScenario::Write(scenario.pc, "a.mp3", std::string(2 * 1024 * 1024, 'n'), kTime + 10);
    SyncScenario::Write(scenario.pc, "b.mp3", std::string(2 * 1024 * 1024, 'b'));
    scenario.AddItem("P:\\a.mp3", "E:\\a.mp3");
    scenario.AddItem("P:\\b.mp3", "E:\\b.mp3");

    const SyncRun& run = scenario.Run();
    EXPECT_EQ(run.outcome(), SyncOutcome::DestinationFull);
    EXPECT_TRUE(run.problems().empty());
    EXPECT_EQ(testsupport::ReadWholeFile(fat.directory() + "/a.mp3"), "old bytes");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fat.directory())) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.mp3", "filler"}));
}

// What the run cannot copy to the player's FAT disk it passes by, each named with its reason, and
// the rest is copied; a dry run foresees all but the failures of the copies themselves.
TEST(SyncFaultsTest, WhatCannotBeCopiedIsNamedWithItsReason)
{
    const auto forbids = [](char character) {
        return "its name holds '" + std::string(1, character) + "', which FAT and Windows names cannot hold";
    };
    struct Case {
        std::string name;
        std::string reason;
        bool foreseen = true;
    };
    const std::vector<Case> cases = {
        {"a:b.mp3", forbids(':')},
        {"p|q.mp3", forbids('|')},
        {"\"x\".mp3", forbids('"')},
        {"<x>.mp3", forbids('<')},
        {"a*b.mp3", forbids('*')},
        {"q?.mp3", forbids('?')},
        {"b\\c.mp3", forbids('\\')},
        {"tab\t.mp3", "its name holds a control character, which FAT and Windows names cannot hold"},
        {"trail.", "its name ends with a dot or a space, which FAT drops"},
        {"Song.mp3", "it differs only in letter case from song.mp3 beside it, which FAT takes for the same name"},
        {"song.mp3", "it differs only in letter case from Song.mp3 beside it, which FAT takes for the same name"},
        {"pipe.mp3", "it is a named pipe, a socket, a device or a broken link, not a regular file"},
        {"huge.mp3", "it is larger than the 4 GiB a file on FAT32 can hold"},
        {"locked.mp3", "Access is denied.", false},
    };
    SyncScenario scenario;
    for (const Case& c : cases) SyncScenario::Write(scenario.pc, "Music/" + c.name, "x");
    SyncScenario::Write(scenario.pc, "Music/good.mp3", "good");
    fs::remove(scenario.pc.LinuxPath("Music/pipe.mp3"));
    ASSERT_EQ(mkfifo(scenario.pc.LinuxPath("Music/pipe.mp3").c_str(), 0644), 0);
    fs::resize_file(scenario.pc.LinuxPath("Music/huge.mp3"), 5ull << 30);  // sparse: takes no room
    fs::permissions(scenario.pc.LinuxPath("Music/locked.mp3"), fs::perms::none);
    scenario.AddItem("P:\\Music", "E:\\Music");
    const ScopedWithoutFileCapabilities asAnyUser;

    DiskSyncFileSystem disk(scenario.cancel);
    DryRunSyncFileSystem dryRun(disk);
    scenario.Run(&dryRun);
    std::map<std::string, std::string> foreseen;
    for (const SyncAction& action : scenario.view.actions) {
        if (action.kind == SyncAction::Kind::CannotCopy) foreseen[action.from] = action.reason;
    }
    const SyncRun& run = scenario.Run();
    std::map<std::string, std::string> notCopied;
    for (const SyncProblem& problem : run.problems()) {
        EXPECT_EQ(problem.kind, SyncProblem::Kind::NotCopied) << problem.path;
        notCopied[problem.path] = problem.reason;
    }

    for (const Case& c : cases) {
        const std::string path = "P:\\Music\\" + c.name;
        EXPECT_EQ(notCopied[path], c.reason) << c.name;
        EXPECT_EQ(foreseen[path], c.foreseen ? c.reason : "") << c.name;
    }
    EXPECT_EQ(notCopied.size(), cases.size());
    EXPECT_EQ(run.outcome(), SyncOutcome::Completed);
    EXPECT_EQ(TreeOf(scenario.device.directory()),
              (std::map<std::string, std::string>{{"Music", "<dir>"}, {"Music/good.mp3", "good"}}));
}

// A killed run's temporary files are no songs: never copied either way, and removed where the run
// writes unless their process still runs.
TEST(SyncFaultsTest, LeftoverTemporariesAreRemovedAndNeverCopied)
{
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    waitpid(ended, nullptr, 0);
    const std::string running = platform::CopyTemporaryName(getpid(), 999);
    SyncScenario scenario;
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "a");
    SyncScenario::Write(scenario.pc, "Music/" + platform::CopyTemporaryName(ended, 1), "pc fragment");
    SyncScenario::Write(scenario.device, "Music/" + platform::CopyTemporaryName(ended, 2), "device fragment");
    SyncScenario::Write(scenario.device, "Music/" + running, "being written");
    scenario.settings.option = SyncOption::SyncBoth;
    scenario.AddItem("P:\\Music", "E:\\Music");

    const SyncRun& run = scenario.Run();
    EXPECT_EQ(TreeOf(scenario.pc.directory()),
              (std::map<std::string, std::string>{{"Music", "<dir>"}, {"Music/a.mp3", "a"}}));
    EXPECT_EQ(TreeOf(scenario.device.directory()),
              (std::map<std::string, std::string>{
                  {"Music", "<dir>"}, {"Music/a.mp3", "a"}, {"Music/" + running, "being written"}}));
    EXPECT_TRUE(run.problems().empty());
    EXPECT_EQ(run.tally().copiedBack, 0);
}

// The FAT disk keeps local times: mounted again with a time zone an hour east, as after the change
// to summer time, every file on it reads an hour older.
TEST(SyncFaultsTest, FilesShiftedByDaylightSavingTimeCopyNothing)
{
    for (const SyncOption option : {SyncOption::PcToDevice, SyncOption::DeviceToPc, SyncOption::SyncBoth}) {
        SCOPED_TRACE(static_cast<int>(option));
        SyncScenario scenario;
        scenario.device.Unplug();
        testsupport::FatImage fat('E', "UTC");
        if (!fat.mounted()) GTEST_SKIP() << "needs /dev/fuse, fusefat and mkfs.vfat";
        SyncScenario::Write(scenario.pc, "Music/a.mp3", "A", kTime + 1);
        SyncScenario::Write(scenario.pc, "Music/Sub/b.mp3", "BB", kTime + 3);
        scenario.AddItem("P:\\Music", "E:\\Music");
        ASSERT_EQ(scenario.Run().tally().copied, 3);
        const int64_t before = fs::last_write_time(fat.LinuxPath("Music/a.mp3")).time_since_epoch().count();

        ASSERT_TRUE(fat.Remount("UTC-1"));
        ASSERT_NE(fs::last_write_time(fat.LinuxPath("Music/a.mp3")).time_since_epoch().count(), before);
        scenario.settings.option = option;
        const SyncRun& shifted = scenario.Run();
        EXPECT_EQ(shifted.outcome(), SyncOutcome::Completed);
        EXPECT_EQ(shifted.tally().copied, 0);
        EXPECT_EQ(shifted.tally().copiedBack, 0);
        EXPECT_EQ(shifted.tally().conflicts, 0);
    }
}

TEST(SyncFaultsTest, AFolderThatCannotBeReadIsNotTakenForEmpty)
{
    SyncScenario scenario;
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "A");
    SyncScenario::Write(scenario.pc, "Music/Locked/x.mp3", "pc x");
    SyncScenario::Write(scenario.device, "Music/Locked/x.mp3", "device x");
    SyncScenario::Write(scenario.device, "Music/Locked/y.mp3", "device y");
    SyncScenario::Write(scenario.device, "Music/gone.mp3", "g");
    fs::permissions(scenario.pc.LinuxPath("Music/Locked"), fs::perms::none);
    scenario.settings.fileCleanup = true;
    scenario.AddItem("P:\\Music", "E:\\Music");

    const ScopedWithoutFileCapabilities asAnyUser;
    const SyncRun& run = scenario.Run();
    fs::permissions(scenario.pc.LinuxPath("Music/Locked"), fs::perms::owner_all);

    EXPECT_EQ(run.problems(),
              (std::vector<SyncProblem>{{SyncProblem::Kind::UnreadableFolder, "P:\\Music\\Locked", {}}}));
    EXPECT_EQ(TreeOf(scenario.device.directory()),
              (std::map<std::string, std::string>{{"Music", "<dir>"},
                                                  {"Music/a.mp3", "A"},
                                                  {"Music/Locked", "<dir>"},
                                                  {"Music/Locked/x.mp3", "device x"},
                                                  {"Music/Locked/y.mp3", "device y"}}));
}

// The records a run leaves for the next one, as the state file carries them between the two.
void KeepStateAsTheFileDoes(SyncSettings& settings)
{
    const std::string bytes = FormatSyncState(settings);
    settings.stateMap.Clear();
    ParseSyncState(bytes, settings.stateMap);
}

// A source root that is missing (a disk not mounted, a folder renamed) or cannot be listed is no
// empty source: the item is told, changes nothing, and keeps the records of the last run, so that a
// both-ways run once the folder is back finds nothing changed.
TEST(SyncFaultsTest, AnItemWhoseSourceIsGoneOrUnreadableChangesNothingAndKeepsItsRecords)
{
    struct Case {
        const char* name;
        SyncOption option;
        bool unreadable;  // else renamed
        const char* problemPath;
        const char* reason;
    };
    const Case cases[] = {
        {"PC folder renamed", SyncOption::PcToDevice, false, "P:\\Music", "it does not exist"},
        {"PC folder renamed, both ways", SyncOption::SyncBoth, false, "P:\\Music", "it does not exist"},
        {"device folder gone", SyncOption::DeviceToPc, false, "E:\\Music", "it does not exist"},
        {"PC folder unreadable", SyncOption::PcToDevice, true, "P:\\Music", "it could not be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SyncScenario scenario;
        SyncScenario::Write(scenario.pc, "Music/a.mp3", "A");
        SyncScenario::Write(scenario.pc, "Music/Sub/b.mp3", "B");
        scenario.settings.option = SyncOption::SyncBoth;
        scenario.AddItem("P:\\Music", "E:\\Music");
        scenario.Run();
        KeepStateAsTheFileDoes(scenario.settings);
        const SyncRecordMap records = scenario.settings.stateMap;
        const auto pcBefore = TreeOf(scenario.pc.directory());
        const auto deviceBefore = TreeOf(scenario.device.directory());

        const testsupport::TemporaryDevice& sourceDrive = c.option == SyncOption::DeviceToPc ? scenario.device : scenario.pc;
        const std::string source = sourceDrive.LinuxPath("Music");
        const std::string away = source + ".away";
        scenario.settings.option = c.option;
        scenario.settings.fileCleanup = true;
        {
            std::optional<ScopedWithoutFileCapabilities> asAnyUser;
            if (c.unreadable) {
                fs::permissions(source, fs::perms::none);
                asAnyUser.emplace();
            } else {
                fs::rename(source, away);
            }
            const SyncRun& run = scenario.Run();
            EXPECT_EQ(run.problems(), (std::vector<SyncProblem>{{SyncProblem::Kind::ItemNotRun, c.problemPath, c.reason}}));
            EXPECT_EQ(run.tally().copied + run.tally().copiedBack + run.tally().deleted, 0);
        }
        if (c.unreadable) {
            fs::permissions(source, fs::perms::owner_all);
        } else {
            fs::rename(away, source);
        }
        KeepStateAsTheFileDoes(scenario.settings);
        EXPECT_EQ(scenario.settings.stateMap, records);
        EXPECT_EQ(TreeOf(scenario.pc.directory()), pcBefore);
        EXPECT_EQ(TreeOf(scenario.device.directory()), deviceBefore);

        scenario.settings.option = SyncOption::SyncBoth;
        const SyncRun& back = scenario.Run();
        EXPECT_EQ(back.tally().conflicts, 0);
        EXPECT_EQ(back.tally().copied + back.tally().copiedBack, 0);
    }
}

TEST(SyncFaultsTest, LinksAreTakenForFilesButNeverFollowedIntoFolders)
{
    SyncScenario scenario;
    testsupport::TemporaryDevice outside('O');
    outside.WriteFile("real.mp3", "real");
    outside.WriteFile("Tree/t.mp3", "t");
    outside.WriteFile("Victims/v.mp3", "v");
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "A");
    scenario.device.MakeFolder("Music");
    fs::create_symlink(outside.LinuxPath("real.mp3"), scenario.pc.LinuxPath("Music/link.mp3"));
    fs::create_directory_symlink(outside.LinuxPath("Tree"), scenario.pc.LinuxPath("Music/Tree"));
    fs::create_directory_symlink(outside.LinuxPath("Victims"), scenario.device.LinuxPath("Music/Victims"));
    SyncScenario::Write(scenario.device, "Music/Tree/keep.mp3", "keep");
    scenario.settings.fileCleanup = true;
    scenario.AddItem("P:\\Music", "E:\\Music");

    scenario.Run();
    EXPECT_EQ(TreeOf(scenario.device.directory()),
              (std::map<std::string, std::string>{{"Music", "<dir>"},
                                                  {"Music/a.mp3", "A"},
                                                  {"Music/link.mp3", "real"},
                                                  {"Music/Tree", "<dir>"},
                                                  {"Music/Tree/keep.mp3", "keep"},
                                                  {"Music/Victims", "-> " + outside.LinuxPath("Victims")}}));
    EXPECT_EQ(TreeOf(outside.directory()).size(), 5u);
}

TEST(SyncFaultsTest, NamesTheCodePageCannotShowAreLeftAloneOnBothSides)
{
    SyncScenario scenario;
    const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC.mp3";     // 日本.mp3
    const std::string nichiyou = "\xE6\x97\xA5\xE6\x9B\x9C.mp3";  // 日曜.mp3: "??.mp3" as well
    SyncScenario::Write(scenario.pc, "Music/" + nihon, "pc nihon");
    SyncScenario::Write(scenario.pc, "Music/" + nichiyou, "pc nichiyou");
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "A");
    SyncScenario::Write(scenario.device, "Music/" + nichiyou, "device nichiyou");
    SyncScenario::Write(scenario.device, "Music/back\\slash.mp3", "b");
    scenario.settings.fileCleanup = true;
    scenario.AddItem("P:\\Music", "E:\\Music");

    const SyncRun& run = scenario.Run();
    EXPECT_EQ(TreeOf(scenario.device.directory()),
              (std::map<std::string, std::string>{{"Music", "<dir>"},
                                                  {"Music/a.mp3", "A"},
                                                  {"Music/" + nichiyou, "device nichiyou"},
                                                  {"Music/back\\slash.mp3", "b"}}));
    std::vector<SyncProblem> problems = run.problems();
    std::sort(problems.begin(), problems.end(), [](const SyncProblem& a, const SyncProblem& b) { return a.path < b.path; });
    const std::string codePage = "its name holds characters the system code page cannot show";
    EXPECT_EQ(problems, (std::vector<SyncProblem>{
                            {SyncProblem::Kind::LeftAlone, "E:\\Music\\??.mp3", codePage},
                            {SyncProblem::Kind::LeftAlone, "E:\\Music\\back\\slash.mp3",
                             "its name holds '\\', which FAT and Windows names cannot hold"},
                            {SyncProblem::Kind::NotCopied, "P:\\Music\\??.mp3", codePage},
                            {SyncProblem::Kind::NotCopied, "P:\\Music\\??.mp3", codePage},
                        }));
}

}  // namespace
}  // namespace trayhost
