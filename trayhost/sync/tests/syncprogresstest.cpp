#include "trayhost/sync/syncprogress.h"

#include "testsupport/scripteduserinterface.h"
#include "trayhost/resources/ids.h"
#include "trayhost/tests/manualclock.h"

#include <gtest/gtest.h>

#include <optional>

namespace trayhost {
namespace {

using State = SyncProgress::State;

// Records what the rules do to the window; "repaint" marks where the window was repainted.
class RecordingView : public SyncDialogView {
public:
    void ShowStatus(const std::string& line) override { shown.push_back(line); }
    void ShowPathLine(const std::string& line) override { pathLine = line; }
    void Repaint() override { shown.push_back("repaint"); }
    void ShowButtonText(const std::string& text) override { buttonText = text; }
    void BringToFront() override { ++broughtToFront; }
    void PostNotice(SyncNotice notice) override { posted.push_back(notice); }
    void PostProfileCommand(char driveLetter) override { profiledDevices += driveLetter; }
    WindowHandle handle() const override { return reinterpret_cast<WindowHandle>(0x160); }
    void Close() override { ++closes; }

    std::vector<std::string> shown;
    std::string pathLine;
    std::string buttonText;
    int broughtToFront = 0;
    std::vector<SyncNotice> posted;
    std::string profiledDevices;
    int closes = 0;
};

class SyncProgressTest : public testing::Test {
protected:
    SyncProgressTest() { progress.Start(); }

    void Message(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0)
    {
        progress.HandleMessage({message, wParam, lParam});
    }
    void Notice(SyncNotice notice, const SyncCounts& counts)
    {
        Message(kSyncProgressMessage, static_cast<uintptr_t>(notice), reinterpret_cast<intptr_t>(&counts));
    }
    // A per-entry message as the worker's link posts it: its counts wait in the mailbox.
    void EntryMessage(SyncNotice notice) { Message(kSyncProgressMessage, static_cast<uintptr_t>(notice), 0); }
    const ManualClock::TimerState& Watchdog() const { return *clock.timers().at(0); }

    RecordingView view;
    SyncProgressMailbox mailbox;
    ManualClock clock;
    testsupport::ScriptedUserInterface ui;
    std::atomic<int32_t> cancel{0};
    SyncSettings settings;
    SyncProgress progress{{view, mailbox, clock, ui, cancel, settings}};
};

TEST_F(SyncProgressTest, EachNoticeShowsItsStatusAndPathLineAndRepaints)
{
    struct Case {
        SyncNotice notice;
        SyncCounts counts;
        const char* status;
        std::optional<const char*> pathLine;
    };
    const Case cases[] = {
        {SyncNotice::Initializing, {}, "Status:  Initializing Synchronization...", std::nullopt},
        {SyncNotice::AcquiringInfo, {2, 3, {}}, "Status:  Acquiring synchronization info...",
         "Path Items:  Syncing (2 of 3)"},
        {SyncNotice::SyncingDevice, {4, 9, "E:\\Music\\a.mp3"},
         "Status:  Syncing device contents (4 of 9)...\r\nE:\\Music\\a.mp3", std::nullopt},
        // A PC destination (from the device to the PC) as the Linux path it is.
        {SyncNotice::SyncingDevice, {1, 2, "Z:\\home\\me\\a.mp3"},
         "Status:  Syncing device contents (1 of 2)...\r\n/home/me/a.mp3", std::nullopt},
        {SyncNotice::Deleting, {1, 5, {}}, "Status:  Deleting destination contents (1 of 5)...", std::nullopt},
        {SyncNotice::SyncingPc, {5, 5, {}}, "Status:  Syncing PC contents (5 of 5)...", std::nullopt},
        {SyncNotice::Cancelled, {}, "Status:  Synchronization canceled.  This may take a few seconds...", std::nullopt},
        {SyncNotice::Aborted, {}, "Status:  Synchronization aborted.  This may take a few seconds...", std::nullopt},
        {SyncNotice::DeviceLost, {},
         "Status:  Synchronization aborted.  The device is no longer connected to the system or is not working "
         "properly.",
         std::nullopt},
        {SyncNotice::CleaningUp, {}, "Status:  Synchronization finished.", "Cleaning up synchronization information..."},
        {SyncNotice::Finished, {}, "Status:  Synchronization finished.", "Path Items:  Done"},
        {SyncNotice::DestinationFull, {}, "Status:  Synchronization aborted: Destination full",
         "Disk is Full. Aborted Sync"},
    };
    settings.deviceLetter = 'E';
    for (const Case& c : cases) {
        view.shown.clear();
        view.pathLine = "unchanged";
        Notice(c.notice, c.counts);
        EXPECT_EQ(view.shown, (std::vector<std::string>{c.status, "repaint"}));
        EXPECT_EQ(view.pathLine, c.pathLine.value_or("unchanged"));
    }
}

// A per-entry message shows the latest counts the worker left; others left before it are gone.
TEST_F(SyncProgressTest, PerEntryMessagesShowTheLatestCountsLeftInTheMailbox)
{
    for (int32_t entry = 1; entry <= 700; ++entry) mailbox.Put(SyncNotice::SyncingDevice, {entry, 1000, "E:\\x.mp3"});
    EntryMessage(SyncNotice::SyncingDevice);
    EXPECT_EQ(view.shown, (std::vector<std::string>{"Status:  Syncing device contents (700 of 1000)...\r\nE:\\x.mp3"}));
    EntryMessage(SyncNotice::SyncingDevice);  // taken already: nothing new
    EXPECT_EQ(view.shown.size(), 1u);

    mailbox.Put(SyncNotice::Deleting, {3, 4, {}});
    EntryMessage(SyncNotice::Deleting);
    EXPECT_EQ(view.shown.back(), "Status:  Deleting destination contents (3 of 4)...");
    EXPECT_TRUE(SyncProgress::IsEntryNotice({kSyncProgressMessage, 4, 0}));
    EXPECT_FALSE(SyncProgress::IsEntryNotice({kSyncProgressMessage, 6, 0}));
}

TEST_F(SyncProgressTest, CancelShowsAtOnceKeepsOneWatchdogAndHidesLaterProgress)
{
    EXPECT_EQ(view.buttonText, "Cancel");
    progress.PressButton();
    Message(platform::kWmCommand, kControlCancel);  // Escape, while cancelling
    EXPECT_EQ(view.posted, (std::vector<SyncNotice>{SyncNotice::Cancelled, SyncNotice::Cancelled}));
    EXPECT_EQ(cancel.load(), 1);
    EXPECT_EQ(Watchdog().starts.size(), 1u);
    EXPECT_EQ(progress.state(), State::Cancelling);

    mailbox.Put(SyncNotice::SyncingDevice, {9, 10, {}});
    EntryMessage(SyncNotice::SyncingDevice);
    Notice(SyncNotice::AcquiringInfo, {2, 2, {}});
    EXPECT_TRUE(view.shown.empty());
    Notice(SyncNotice::Aborted, {});
    EXPECT_EQ(view.shown.front(), "Status:  Synchronization aborted.  This may take a few seconds...");
}

TEST_F(SyncProgressTest, AWorkerThatDoesNotStopIsGivenUpAfterEightAndAHalfSeconds)
{
    progress.PressButton();
    clock.Tick(16);
    EXPECT_EQ(view.closes, 0);
    clock.Tick();
    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unexpected device error has occurred.  Sync application will be aborted and shut "
                             "down.  Check that the device is functioning properly and recommended to shut down and "
                             "restart Windows.");
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_EQ(boxes[0].style, kMbOk | kMbIconStop);
    EXPECT_EQ(boxes[0].owner, view.handle());
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(progress.state(), State::Destroyed);
}

TEST_F(SyncProgressTest, TheWorkersCommandOneClosesAndDoneClosesOnItsPress)
{
    Message(kSyncBringToFrontMessage);
    Message(kSyncShowDoneMessage);
    EXPECT_EQ(view.broughtToFront, 1);
    EXPECT_EQ(view.buttonText, "Done");
    EXPECT_EQ(progress.state(), State::Finished);
    Message(platform::kWmCommand, kControlSyncProgressButton);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(cancel.load(), 0);

    SyncProgress other({view, mailbox, clock, ui, cancel, settings});
    other.HandleMessage({platform::kWmCommand, kControlOk, 0});
    EXPECT_EQ(view.closes, 2);
}

TEST_F(SyncProgressTest, CompleteClosesAndProfilesUnlessThePcWasTheDestination)
{
    struct Case {
        SyncOption option;
        bool profileAfterSync;
        bool cancelled;
        int closes;
        std::string profiledDevices;  // the synchronised device, G: in the profile
    };
    const Case cases[] = {
        {SyncOption::PcToDevice, true, false, 1, "G"},
        {SyncOption::SyncBoth, false, false, 1, ""},
        {SyncOption::DeviceToPc, true, false, 0, ""},
        {SyncOption::PcToDevice, true, true, 0, ""},
    };
    settings.deviceLetter = 'G';
    for (const Case& c : cases) {
        view = RecordingView();
        settings.option = c.option;
        settings.profileAfterSync = c.profileAfterSync;
        cancel = c.cancelled ? 1 : 0;
        SyncProgress dialog({view, mailbox, clock, ui, cancel, settings});
        dialog.HandleMessage({kSyncProgressMessage, static_cast<uintptr_t>(SyncNotice::Complete), 0});
        EXPECT_EQ(view.closes, c.closes);
        EXPECT_EQ(view.profiledDevices, c.profiledDevices);
        if (c.closes == 0) {
            EXPECT_EQ(view.shown, (std::vector<std::string>{"Synchronization Complete", "repaint"}));
        }
    }
}

}  // namespace
}  // namespace trayhost
