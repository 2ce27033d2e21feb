// Faults of real disks and hostile trees, made where they happen: a full tmpfs, a device directory
// that goes away, a FAT32 file system, a folder that cannot be listed, links, names the code page
// cannot show.

#include "testsupport/fatimage.h"
#include "trayhost/sync/syncrun.h"
#include "trayhost/sync/tests/syncscenario.h"

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

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

    EXPECT_EQ(run.problems().unreadableFolders, std::vector<std::string>{"P:\\Music\\Locked"});
    EXPECT_EQ(TreeOf(scenario.device.directory()),
              (std::map<std::string, std::string>{{"Music", "<dir>"},
                                                  {"Music/a.mp3", "A"},
                                                  {"Music/Locked", "<dir>"},
                                                  {"Music/Locked/x.mp3", "device x"},
                                                  {"Music/Locked/y.mp3", "device y"}}));
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
    std::vector<std::string> names = run.problems().unholdableNames;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"E:\\Music\\??.mp3", "E:\\Music\\back\\slash.mp3", "P:\\Music\\??.mp3",
                                               "P:\\Music\\??.mp3"}));
}

}  // namespace
}  // namespace trayhost
