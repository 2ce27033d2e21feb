#include "trayhost/sync/syncrun.h"

#include "platform/files.h"
#include "platform/sound.h"
#include "trayhost/sync/dryrunsyncfilesystem.h"
#include "trayhost/sync/syncruntexts.h"
#include "trayhost/sync/tests/syncscenario.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/xattr.h>

namespace trayhost {
namespace {

using Tree = std::map<std::string, std::string>;
constexpr const char* kFolder = "<dir>";
constexpr int64_t kTime = SyncScenario::kTime;

struct Entry {
    std::string path;  // relative, '/' between names
    std::string content = kFolder;
    int64_t time = kTime;
};

SyncConflictAnswer Ok(SyncConflictChoice choice, bool applyToAll = false)
{
    return {kIdOk, choice, applyToAll};
}

struct RunCase {
    const char* name;
    SyncOption option;
    bool cleanup;
    const char* pcItem;
    const char* deviceItem;
    std::vector<Entry> pcBefore;
    std::vector<Entry> deviceBefore;
    std::vector<SyncConflictAnswer> answers;
    Tree pcAfter;
    Tree deviceAfter;
    SyncTally tally;
    std::size_t questions = 0;
};

void Build(const testsupport::TemporaryDevice& drive, const std::vector<Entry>& entries)
{
    for (const Entry& entry : entries) {
        if (entry.content == kFolder) {
            drive.MakeFolder(entry.path);
        } else {
            SyncScenario::Write(drive, entry.path, entry.content, entry.time);
        }
    }
}

// A first run (no state of an earlier one) over one item.
class SyncRunCaseTest : public testing::TestWithParam<RunCase> {
protected:
    SyncScenario scenario;
};

TEST_P(SyncRunCaseTest, LeavesBothSidesAsExpected)
{
    const RunCase& c = GetParam();
    Build(scenario.pc, c.pcBefore);
    Build(scenario.device, c.deviceBefore);
    scenario.settings.option = c.option;
    scenario.settings.fileCleanup = c.cleanup;
    scenario.AddItem(c.pcItem, c.deviceItem);
    for (const SyncConflictAnswer& answer : c.answers) scenario.ui.ScriptSyncConflictAnswer(answer);

    const SyncRun& run = scenario.Run();

    EXPECT_EQ(run.outcome(), SyncOutcome::Completed);
    EXPECT_EQ(TreeOf(scenario.pc.directory()), c.pcAfter);
    EXPECT_EQ(TreeOf(scenario.device.directory()), c.deviceAfter);
    EXPECT_EQ(run.tally().copied, c.tally.copied);
    EXPECT_EQ(run.tally().copiedBack, c.tally.copiedBack);
    EXPECT_EQ(run.tally().deleted, c.tally.deleted);
    EXPECT_EQ(run.tally().conflicts, c.tally.conflicts);
    EXPECT_EQ(scenario.ui.syncConflicts().size(), c.questions);
}

INSTANTIATE_TEST_SUITE_P(
    FirstRuns, SyncRunCaseTest,
    testing::Values(
        RunCase{"one_way_makes_its_destination_and_copies_new_files_and_folders", SyncOption::PcToDevice, false,
                "P:\\Music", "E:\\Music",
                {{"Music/a.mp3", "A"}, {"Music/Sub/b.mp3", "B"}},
                {},
                {},
                {{"Music", kFolder}, {"Music/a.mp3", "A"}, {"Music/Sub", kFolder}, {"Music/Sub/b.mp3", "B"}},
                {{"Music", kFolder}, {"Music/a.mp3", "A"}, {"Music/Sub", kFolder}, {"Music/Sub/b.mp3", "B"}},
                {.copied = 3}},
        RunCase{"one_way_overwrites_a_changed_file_and_keeps_the_rest_without_cleanup", SyncOption::PcToDevice,
                false, "P:\\Music", "E:\\Songs",
                {{"Music/a.mp3", "new", kTime + 10}},
                {{"Songs/a.mp3", "old"}, {"Songs/only.mp3", "x"}},
                {},
                {{"Music", kFolder}, {"Music/a.mp3", "new"}},
                {{"Songs", kFolder}, {"Songs/a.mp3", "new"}, {"Songs/only.mp3", "x"}},
                {.copied = 1}},
        RunCase{"cleanup_of_the_device_root_spares_only_the_players_folder", SyncOption::PcToDevice, true,
                "P:\\Music", "E:\\",
                {{"Music/a.mp3", "A"}},
                {{"kovahdd/pfr.bin", "free"}, {"kovahdd/sys_playlist/x.m3u", "x"},
                 {"kovahdd_playlists/mine.m3u", "m"}, {"Old/b.mp3", "b"}, {"c.mp3", "c"}},
                {},
                {{"Music", kFolder}, {"Music/a.mp3", "A"}},
                {{"a.mp3", "A"}, {"kovahdd", kFolder}, {"kovahdd/pfr.bin", "free"},
                 {"kovahdd/sys_playlist", kFolder}, {"kovahdd/sys_playlist/x.m3u", "x"}},
                {.copied = 1, .deleted = 5}},
        RunCase{"device_to_pc_with_cleanup_deletes_on_the_pc", SyncOption::DeviceToPc, true, "P:\\Music",
                "E:\\Music",
                {{"Music/stale.mp3", "s"}},
                {{"Music/a.mp3", "D"}},
                {},
                {{"Music", kFolder}, {"Music/a.mp3", "D"}},
                {{"Music", kFolder}, {"Music/a.mp3", "D"}},
                {.copied = 1, .deleted = 1}},
        RunCase{"both_ways_first_run_asks_once_when_do_nothing_applies_to_all", SyncOption::SyncBoth, false,
                "P:\\Music", "E:\\Music",
                {{"Music/a.mp3", "same"}, {"Music/b.mp3", "same"}},
                {{"Music/a.mp3", "same"}, {"Music/b.mp3", "same"}},
                {Ok(SyncConflictChoice::DoNothing, true)},
                {{"Music", kFolder}, {"Music/a.mp3", "same"}, {"Music/b.mp3", "same"}},
                {{"Music", kFolder}, {"Music/a.mp3", "same"}, {"Music/b.mp3", "same"}},
                {.conflicts = 2},
                1},
        RunCase{"both_ways_conflict_resolved_for_the_device", SyncOption::SyncBoth, false, "P:\\Music", "E:\\Music",
                {{"Music/a.mp3", "pc"}, {"Music/b.mp3", "pc b"}},
                {{"Music/a.mp3", "device"}, {"Music/b.mp3", "device b"}},
                {Ok(SyncConflictChoice::DeviceOverwritesPc), {kIdCancel}},
                {{"Music", kFolder}, {"Music/a.mp3", "device"}, {"Music/b.mp3", "pc b"}},
                {{"Music", kFolder}, {"Music/a.mp3", "device"}, {"Music/b.mp3", "device b"}},
                {.copiedBack = 1, .conflicts = 2},
                2},
        RunCase{"both_ways_copies_back_what_is_only_on_the_device", SyncOption::SyncBoth, false, "P:\\Music",
                "E:\\Music",
                {{"Music/pc.mp3", "P"}},
                {{"Music/a.mp3", "A"}, {"Music/Sub/b.mp3", "B"}},
                {},
                {{"Music", kFolder}, {"Music/pc.mp3", "P"}, {"Music/a.mp3", "A"}, {"Music/Sub", kFolder},
                 {"Music/Sub/b.mp3", "B"}},
                {{"Music", kFolder}, {"Music/pc.mp3", "P"}, {"Music/a.mp3", "A"}, {"Music/Sub", kFolder},
                 {"Music/Sub/b.mp3", "B"}},
                {.copied = 1, .copiedBack = 3}},
        RunCase{"both_ways_file_item_copied_back_to_the_missing_pc_file", SyncOption::SyncBoth, false,
                "P:\\Music\\x.mp3", "E:\\Music\\X.MP3",
                {{"Music"}},
                {{"Music/X.MP3", "X"}},
                {},
                {{"Music", kFolder}, {"Music/x.mp3", "X"}},
                {{"Music", kFolder}, {"Music/X.MP3", "X"}},
                {.copiedBack = 1}}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

class SyncRunTest : public testing::Test {
protected:
    // Runs the items on the disk itself, where a destination root is really made or not.
    bool SynchronizeOnDisk()
    {
        DiskSyncFileSystem files(scenario.cancel);
        SyncRun run(
            {scenario.settings, files, scenario.view, scenario.ui, scenario.cancel, scenario.conflicts, scenario.engine});
        return run.SynchronizeItems();
    }

    SyncScenario scenario;
};

// The device's copies of the files are FAT copies: their times are rounded to 2 seconds, and the
// records the first run kept of them hold the rounded times. FAT keeps local times, so a change of
// daylight saving time moves every file on it by an hour, away from its record too.
TEST_F(SyncRunTest, SecondRunCopiesNothingWhenTheDeviceRoundedOrShiftedTheTimes)
{
    struct Case {
        SyncOption option;
        int64_t deviceShift;
        bool recordShifted;  // the first run's record of the device's file holds the shifted time
        int32_t copiedAgain;
        int32_t conflicts;
    };
    const Case cases[] = {
        {SyncOption::PcToDevice, 0, true, 0, 0},      {SyncOption::PcToDevice, -1, true, 0, 0},
        {SyncOption::PcToDevice, 2, true, 0, 0},      {SyncOption::PcToDevice, 3, true, 1, 0},
        {SyncOption::SyncBoth, -1, true, 0, 0},       {SyncOption::SyncBoth, 3, true, 0, 1},
        {SyncOption::PcToDevice, 3600, false, 0, 0},  {SyncOption::PcToDevice, -3602, false, 0, 0},
        {SyncOption::PcToDevice, 3603, false, 1, 0},  {SyncOption::PcToDevice, 7200, false, 1, 0},
        {SyncOption::SyncBoth, -3600, false, 0, 0},   {SyncOption::SyncBoth, 3598, false, 0, 0},
        {SyncOption::SyncBoth, 3606, false, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "option " << static_cast<int>(c.option) << ", shift " << c.deviceShift);
        SyncScenario scenario;
        SyncScenario::Write(scenario.pc, "Music/a.mp3", "A", kTime + 1);
        scenario.settings.option = c.option;
        scenario.AddItem("P:\\Music", "E:\\Music");
        scenario.Run();
        ASSERT_EQ(scenario.device.ReadFile("Music/a.mp3"), "A");

        SetModTime(scenario.device.LinuxPath("Music/a.mp3"), kTime + 1 + c.deviceShift);
        SyncFileRecord* record = scenario.settings.stateMap.Find("E:\\Music\\a.mp3");
        if (c.recordShifted) record->modTime = static_cast<int32_t>(kTime + 1 + c.deviceShift);
        const SyncRun& second = scenario.Run();
        EXPECT_EQ(second.tally().copied, c.copiedAgain);
        EXPECT_EQ(second.tally().conflicts, c.conflicts);
    }
}

TEST_F(SyncRunTest, BothWaysASecondRunAsksOnlyAboutWhatChangedSinceTheFirst)
{
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "A");
    SyncScenario::Write(scenario.pc, "Music/b.mp3", "B");
    scenario.settings.option = SyncOption::SyncBoth;
    scenario.AddItem("P:\\Music", "E:\\Music");
    scenario.Run();
    EXPECT_EQ(scenario.run->tally().copied, 2);

    SyncScenario::Write(scenario.device, "Music/a.mp3", "A2", kTime + 100);
    scenario.ui.ScriptSyncConflictAnswer(Ok(SyncConflictChoice::DeviceOverwritesPc));
    const SyncRun& second = scenario.Run();
    ASSERT_EQ(scenario.ui.syncConflicts().size(), 1u);
    EXPECT_EQ(scenario.ui.syncConflicts()[0].pcFile, "P:\\Music\\a.mp3");
    EXPECT_EQ(scenario.ui.syncConflicts()[0].deviceFile, "E:\\Music\\a.mp3");
    EXPECT_EQ(second.tally().copiedBack, 1);
    EXPECT_EQ(scenario.pc.ReadFile("Music/a.mp3"), "A2");
    EXPECT_FALSE(scenario.settings.stateMap.Find("P:\\Music\\a.mp3")->changed);
}

TEST_F(SyncRunTest, AbortEndsTheRunAsCancelledWithTheLongerPause)
{
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "pc");
    SyncScenario::Write(scenario.pc, "Music/b.mp3", "pc");
    SyncScenario::Write(scenario.device, "Music/a.mp3", "device");
    scenario.settings.option = SyncOption::SyncBoth;
    scenario.AddItem("P:\\Music", "E:\\Music");
    scenario.conflicts.choice = SyncConflictChoice::DeviceOverwritesPc;
    scenario.ui.ScriptSyncConflictAnswer({kIdAbort});

    const SyncRun& run = scenario.Run();
    EXPECT_EQ(run.outcome(), SyncOutcome::Cancelled);
    EXPECT_EQ(run.endDelay(), SyncRun::kAbortEndDelay);
    EXPECT_EQ(scenario.cancel.load(), 1);
    EXPECT_EQ(scenario.ui.beeps(), std::vector<uint32_t>{platform::kBeepExclamation});
    EXPECT_EQ(scenario.view.notices.back(), SyncNotice::Aborted);
    // Nothing more was copied, and the choice asked with stays.
    EXPECT_FALSE(scenario.device.Exists("Music/b.mp3"));
    EXPECT_EQ(scenario.ui.syncConflicts().at(0).choice, SyncConflictChoice::DeviceOverwritesPc);
    EXPECT_EQ(scenario.conflicts.choice, SyncConflictChoice::DeviceOverwritesPc);
}

TEST_F(SyncRunTest, ADestinationThatCannotBeMadeEndsTheRun)
{
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "A");
    scenario.settings.option = SyncOption::PcToDevice;
    scenario.AddItem("P:\\Music", "E:\\No\\Such\\Folder");
    scenario.AddItem("P:\\Music", "E:\\Music");

    EXPECT_FALSE(SynchronizeOnDisk());
    const auto boxes = scenario.ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    const auto& box = boxes[0];
    EXPECT_EQ(box.text, "The following error occurred while creating the synchronization path 'E:\\No\\Such\\Folder':"
                        "\n\nThe system cannot find the path specified.\nSynchronization aborted.");
    EXPECT_EQ(box.title, "Sync Error");
    EXPECT_EQ(box.owner, scenario.view.owner());
    EXPECT_EQ(scenario.view.closes, 1);
    EXPECT_FALSE(scenario.device.Exists("Music"));
}

// A PC folder is named as the person knows it, as in every other message of the run.
TEST_F(SyncRunTest, APcDestinationThatCannotBeMadeIsNamedByItsLinuxPath)
{
    SyncScenario::Write(scenario.device, "Music/a.mp3", "A");
    scenario.settings.option = SyncOption::DeviceToPc;
    scenario.AddItem("P:\\No\\Such\\Folder", "E:\\Music");

    EXPECT_FALSE(SynchronizeOnDisk());
    const auto boxes = scenario.ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The following error occurred while creating the synchronization path '" +
                                 scenario.pc.LinuxPath("No/Such/Folder") +
                                 "':\n\nThe system cannot find the path specified.\nSynchronization aborted.");
}

TEST_F(SyncRunTest, CopiesCarryHiddenSystemAndArchiveButNeverReadOnly)
{
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "new");
    SyncScenario::Write(scenario.device, "Music/a.mp3", "old");
    if (setxattr(scenario.pc.LinuxPath("Music/a.mp3").c_str(), "user.kovaprobe", "1", 1, 0) != 0 && errno == ENOTSUP) {
        GTEST_SKIP() << "no extended attributes on this file system";
    }
    using namespace platform;
    ASSERT_TRUE(SetFileAttributes("P:\\Music\\a.mp3", kAttributeHidden | kAttributeSystem | kAttributeArchive |
                                                          kAttributeReadOnly));
    ASSERT_TRUE(SetFileAttributes("E:\\Music\\a.mp3", kAttributeReadOnly));
    scenario.settings.option = SyncOption::PcToDevice;
    scenario.AddItem("P:\\Music", "E:\\Music");

    scenario.Run();
    EXPECT_EQ(scenario.device.ReadFile("Music/a.mp3"), "new");
    EXPECT_EQ(GetFileAttributes("E:\\Music\\a.mp3"), kAttributeHidden | kAttributeSystem | kAttributeArchive);
}

// A dry run lists what the run would do, action for action, and leaves every file as it was,
// the state of the last run included.
TEST_F(SyncRunTest, DryRunListsWhatTheRunDoesAndChangesNothing)
{
    SyncScenario::Write(scenario.pc, "Music/a.mp3", "pc");
    SyncScenario::Write(scenario.pc, "Music/New/n.mp3", "n");
    SyncScenario::Write(scenario.device, "Music/a.mp3", "device");
    SyncScenario::Write(scenario.device, "Music/Old/o.mp3", "o");
    SyncScenario::Write(scenario.device, "Music/Old/Deeper/d.mp3", "d");
    scenario.settings.option = SyncOption::PcToDevice;
    scenario.settings.fileCleanup = true;
    scenario.AddItem("P:\\Music", "E:\\Music");
    const Tree pcBefore = TreeOf(scenario.pc.directory());
    const Tree deviceBefore = TreeOf(scenario.device.directory());

    DiskSyncFileSystem disk(scenario.cancel);
    DryRunSyncFileSystem dryRun(disk);
    const SyncTally dry = scenario.Run(&dryRun).tally();
    const std::vector<SyncAction> dryActions = scenario.view.actions;
    EXPECT_EQ(TreeOf(scenario.pc.directory()), pcBefore);
    EXPECT_EQ(TreeOf(scenario.device.directory()), deviceBefore);

    scenario.settings.stateMap.Clear();
    const SyncTally real = scenario.Run().tally();
    ASSERT_EQ(scenario.view.actions.size(), dryActions.size());
    for (std::size_t i = 0; i < dryActions.size(); ++i) {
        EXPECT_EQ(scenario.view.actions[i].kind, dryActions[i].kind) << i;
        EXPECT_EQ(scenario.view.actions[i].from, dryActions[i].from) << i;
        EXPECT_EQ(scenario.view.actions[i].to, dryActions[i].to) << i;
    }
    EXPECT_EQ(real.copied, 3);  // a.mp3, the folder New, n.mp3
    EXPECT_EQ(real.deleted, 4);
    EXPECT_EQ(dry.copied, real.copied);
    EXPECT_EQ(dry.deleted, real.deleted);
}

// The question before a clean-up that would delete most of its destination names the count, the
// side and the source, and what that is of the destination.
TEST(SyncRunTextsTest, TheMassDeletionQuestionCountsWhatGoesFromWhere)
{
    struct Case {
        std::size_t deletions;
        std::size_t files;
        bool onDevice;
        const char* text;
    };
    const Case cases[] = {
        {1234, 1300, true,
         "Delete 1,234 files on the device that are not in /home/me/Music?\n\nThat is 1,234 of the 1,300 files in "
         "E:\\Music.\nNo keeps them all; the copies are made either way."},
        {19, 19, false,
         "Delete 19 files on the PC that are not in E:\\Music?\n\nThat is every file in /home/me/Music.\nNo keeps "
         "them all; the copies are made either way."},
        {1, 1, true,
         "Delete 1 file on the device that is not in /home/me/Music?\n\nThat is the only file in E:\\Music.\nNo keeps "
         "it; the copies are made either way."},
        {1000000, 1999999, true,
         "Delete 1,000,000 files on the device that are not in /home/me/Music?\n\nThat is 1,000,000 of the 1,999,999 "
         "files in E:\\Music.\nNo keeps them all; the copies are made either way."},
    };
    for (const Case& c : cases) {
        const std::string pc = "/home/me/Music";
        const std::string device = "E:\\Music";
        EXPECT_EQ(MassDeletionQuestion(c.deletions, c.files, c.onDevice, c.onDevice ? pc : device, c.onDevice ? device : pc),
                  c.text);
    }
}

}  // namespace
}  // namespace trayhost
