#include "trayhost/profile/profileprogress.h"

#include "testsupport/scripteduserinterface.h"
#include "trayhost/resources/ids.h"
#include "trayhost/tests/manualclock.h"
#include "trayhost/tests/scriptedengine.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <utility>

namespace trayhost {
namespace {

using State = ProfileProgress::State;

// Records what the rules do to the window. Reports posted to the window itself are kept in order,
// as its message queue would.
class RecordingView : public ProfileDialogView {
public:
    void ShowStatus(const std::string& line) override { statuses.push_back(line); }
    void ShowOutcome(const std::string& line) override { outcome = line; }
    void ShowButtonText(const std::string& text) override { buttonText = text; }
    void ShowBusyCursor(bool shown) override { busy = shown; }
    void BringToFront() override { ++broughtToFront; }
    void PostReport(int32_t code) override { postedReports.push_back(code); }
    WindowHandle handle() const override { return reinterpret_cast<WindowHandle>(0x130); }
    void Close() override { ++closes; }
    void EndProgram() override { ++programEnds; }

    std::vector<std::string> statuses;
    std::string outcome;
    std::string buttonText;
    bool busy = false;
    int broughtToFront = 0;
    std::vector<int32_t> postedReports;
    int closes = 0;
    int programEnds = 0;
};

class ProfileProgressTest : public ::testing::Test {
public:
    ProfileProgressTest() { progress.Start(); }

    void Message(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0)
    {
        progress.HandleMessage({message, wParam, lParam});
    }
    void Report(int32_t code, intptr_t value = 0)
    {
        Message(kProfileProgressMessage, static_cast<uint32_t>(code), value);
    }
    void Command(int32_t id) { Message(platform::kWmCommand, static_cast<uint32_t>(id)); }
    const ManualClock::TimerState& Watchdog() const { return *clock.timers().at(0); }

    RecordingView view;
    ScriptedEngine engine;
    ManualClock clock;
    testsupport::ScriptedUserInterface ui;
    ProfileProgress progress{view, engine, clock, ui};
};

TEST_F(ProfileProgressTest, StartsRunningWithCancelAndTheBusyPointerAndNoWatchdog)
{
    EXPECT_EQ(progress.state(), State::Running);
    EXPECT_EQ(view.buttonText, "Cancel");
    EXPECT_TRUE(view.busy);
    EXPECT_FALSE(Watchdog().running);
}

TEST_F(ProfileProgressTest, EachReportCodeShowsItsStatusLine)
{
    const std::array<int32_t, 2> counters{17, 250};
    Report(1);
    Report(2);
    Report(3);
    Report(4);
    Report(5);
    Report(6);
    Report(7, reinterpret_cast<intptr_t>(counters.data()));
    Report(8);
    EXPECT_EQ(view.statuses, (std::vector<std::string>{
                                 "Status:  Scanning device...",
                                 "Status:  Initializing system playlists...",
                                 "Status:  Profiling finished.",
                                 "Status:  Profile Canceled.  This may take a few seconds...",
                                 "Status:  Profile aborted.  No audio files on device to profile.",
                                 "Status:  Profile aborted.  The device connection failed.",
                                 "Status:  Acquiring device contents (17 of 250)...",
                                 "Status:  Profile aborted.  The device is no longer connected to the system and/or "
                                 "is not working properly.",
                             }));
}

TEST_F(ProfileProgressTest, CodesOutsideOneToEightLeaveTheStatus)
{
    Report(0);
    Report(kReportPlaylistNotWritten, 2);
    Report(-1);
    EXPECT_TRUE(view.statuses.empty());
}

// The status keeps its text; the line under it says that the run did not end as that reads.
TEST_F(ProfileProgressTest, PlaylistNotWrittenIsTheOutcomeUnderTheFinishedStatus)
{
    Report(kReportPlaylistsStarted);
    EXPECT_EQ(view.outcome, "");
    Report(kReportPlaylistNotWritten, PlaylistReportValue(0, kPlaylistTooLargeForPlayer));
    Report(kReportPlaylistNotWritten, PlaylistReportValue(1, kPlaylistHeldBack));
    Report(kReportProfileFinished);
    EXPECT_EQ(view.statuses.back(), "Status:  Profiling finished.");
    EXPECT_EQ(view.outcome, "The playlists were not written.");
}

TEST_F(ProfileProgressTest, CancelReportsCode4AsksTheEngineAndStartsOneWatchdog)
{
    progress.PressButton();
    EXPECT_EQ(progress.state(), State::Cancelling);
    EXPECT_EQ(view.buttonText, "Cancel");
    EXPECT_EQ(Watchdog().starts, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(500)});

    clock.Tick(4);
    progress.PressButton();
    EXPECT_EQ(view.postedReports, (std::vector<int32_t>{kReportProfileCancelled, kReportProfileCancelled}));
    EXPECT_EQ(engine.cancels(), 2);
    EXPECT_EQ(Watchdog().starts.size(), 1u);
    // Counted from the first cancel: the second one did not restart it.
    clock.Tick(6);
    EXPECT_EQ(view.closes, 0);
    clock.Tick();
    EXPECT_EQ(view.closes, 1);
}

TEST_F(ProfileProgressTest, ScanCountsWhileCancellingAskTheEngineToStopAgain)
{
    std::array<int32_t, 2> counters{1, 9000};
    Report(kReportScanProgress, reinterpret_cast<intptr_t>(counters.data()));
    EXPECT_EQ(engine.cancels(), 0);
    progress.PressButton();
    Report(kReportScanProgress, reinterpret_cast<intptr_t>(counters.data()));
    Report(kReportScanProgress, reinterpret_cast<intptr_t>(counters.data()));
    EXPECT_EQ(engine.cancels(), 3);
}

TEST_F(ProfileProgressTest, WatchdogEndsTheProgramAtItsEleventhTick)
{
    progress.PressButton();
    clock.Tick(10);
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_EQ(view.closes, 0);

    clock.Tick();
    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, view.handle());
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_EQ(boxes[0].text, "Unexpected device error has occurred.  Profiler application will be aborted and shut "
                             "down.  Check that the device is functioning properly and recommended to shut down and "
                             "restart Windows.");
    EXPECT_EQ(boxes[0].style, kMbOk | kMbIconStop);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(view.programEnds, 1);
    EXPECT_EQ(progress.state(), State::Destroyed);
    EXPECT_FALSE(Watchdog().running);
}

TEST_F(ProfileProgressTest, EngineThatStopsEndsTheWatchdogWhateverItsResult)
{
    progress.PressButton();
    clock.Tick(8);
    Message(kProfileEngineStoppedMessage);
    EXPECT_FALSE(Watchdog().running);
    EXPECT_FALSE(view.busy);

    // A finished run after the cancel: Done, and no shutdown however long the person waits.
    Message(kProfileRunEndedMessage);
    clock.Tick(20);
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_EQ(view.buttonText, "Done");
}

// A Cancel races the end of the run: the engine may return before the cancel reaches it, and the
// dialog's own notice (code 4, posted) may be handled before or after the engine's stop.
class LateCancelTest;

struct LateCancelCase {
    const char* name;
    std::function<void(LateCancelTest&)> steps;
    std::string lastStatus;
    int engineCancels;
};

void PrintTo(const LateCancelCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class LateCancelTest : public ProfileProgressTest, public ::testing::WithParamInterface<LateCancelCase> {
public:
    void HandlePostedReports()
    {
        for (const int32_t code : std::exchange(view.postedReports, {})) Report(code);
    }
    void EngineStopped(int32_t result) { Message(kProfileEngineStoppedMessage, 0, result); }
};

constexpr const char* kFinishedStatus = "Status:  Profiling finished.";
constexpr const char* kCancelledStatus = "Status:  Profile Canceled.  This may take a few seconds...";

const LateCancelCase kLateCancelCases[] = {
    {"PressedAfterTheEngineReturned",
     [](LateCancelTest& test) {
         test.Report(kReportProfileFinished);
         test.EngineStopped(1);
         test.progress.PressButton();
     },
     kFinishedStatus, 0},
    {"NoticeHandledAfterTheEngineReturned",
     [](LateCancelTest& test) {
         test.Report(kReportProfileFinished);
         test.progress.PressButton();
         test.EngineStopped(1);
         test.HandlePostedReports();
     },
     kFinishedStatus, 1},
    {"NoticeShownBeforeTheEngineReturned",
     [](LateCancelTest& test) {
         test.Report(kReportProfileFinished);
         test.progress.PressButton();
         test.HandlePostedReports();
         test.EngineStopped(1);
     },
     kFinishedStatus, 1},
    {"CancelThatStoppedTheRunKeepsItsNotice",
     [](LateCancelTest& test) {
         test.Report(kReportScanStarted);
         test.progress.PressButton();
         test.HandlePostedReports();
         test.EngineStopped(kProfileRunCancelled);
     },
     kCancelledStatus, 1},
};

TEST_P(LateCancelTest, OnlyACancelledRunEndsShowingTheCancel)
{
    GetParam().steps(*this);
    ASSERT_FALSE(view.statuses.empty());
    EXPECT_EQ(view.statuses.back(), GetParam().lastStatus);
    EXPECT_EQ(engine.cancels(), GetParam().engineCancels);
    EXPECT_FALSE(Watchdog().running);
}

INSTANTIATE_TEST_SUITE_P(Races, LateCancelTest, ::testing::ValuesIn(kLateCancelCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileProgressTest, EndOfRunShowsDoneAndDoneClosesTheDialog)
{
    Message(kProfileEngineStoppedMessage);
    Message(kProfileRunEndedMessage);
    EXPECT_EQ(progress.state(), State::Finished);
    EXPECT_EQ(view.buttonText, "Done");
    EXPECT_EQ(view.broughtToFront, 1);

    progress.PressButton();
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(engine.cancels(), 0);
    EXPECT_EQ(progress.state(), State::Destroyed);
}

TEST_F(ProfileProgressTest, EscapeAndTheButtonsIdActAsTheButtonCommandOneCloses)
{
    Command(kControlCancel);
    EXPECT_EQ(engine.cancels(), 1);
    Command(kControlProfileButton);
    EXPECT_EQ(engine.cancels(), 2);
    Command(kControlOk);
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(Watchdog().running);
}

TEST_F(ProfileProgressTest, ClosedDialogHandlesNothingMore)
{
    Command(kControlOk);
    Report(1);
    Command(kControlCancel);
    Command(kControlOk);
    Message(kProfileRunEndedMessage);
    progress.PressButton();
    EXPECT_TRUE(view.statuses.empty());
    EXPECT_EQ(engine.cancels(), 0);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(view.buttonText, "Cancel");
}

}  // namespace
}  // namespace trayhost
