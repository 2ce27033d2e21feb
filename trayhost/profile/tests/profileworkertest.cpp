#include "trayhost/profile/profileworker.h"

#include "testsupport/scripteduserinterface.h"
#include "trayhost/profile/profiledialoglink.h"
#include "trayhost/resources/ids.h"
#include "trayhost/tests/manualclock.h"
#include "trayhost/tests/scriptedengine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trayhost {
namespace {

// Stands in for the profile dialog: remembers every message in the order it arrived, posted ("post")
// or sent ("send").
class RecordingDialog : public platform::MessageTarget {
public:
    RecordingDialog() : handle_(platform::RegisterWindow(this)) {}
    ~RecordingDialog() override { platform::UnregisterWindow(handle_); }

    platform::WindowHandle handle() const { return handle_; }

    void Post(const platform::WindowMessage& message) override { Record("post", message); }
    intptr_t Send(const platform::WindowMessage& message) override
    {
        Record("send", message);
        return 0;
    }

    std::vector<std::string> messages;

private:
    void Record(const char* how, const platform::WindowMessage& message)
    {
        std::string name;
        switch (message.message) {
        case kProfileProgressMessage:
            name = "report " + std::to_string(message.wParam);
            break;
        case kProfileEngineStoppedMessage:
            name = "engine stopped " + std::to_string(message.lParam);
            break;
        case kProfileRunEndedMessage:
            name = "run ended";
            break;
        case platform::kWmCommand:
            name = "command " + std::to_string(message.wParam);
            break;
        default:
            name = "message " + std::to_string(message.message);
            break;
        }
        messages.push_back(std::string(how) + " " + name);
    }

    platform::WindowHandle handle_;
};

// The run's message boxes, each taking its place among the dialog's messages ("box TITLE").
class TimelineUserInterface : public testsupport::ScriptedUserInterface {
public:
    explicit TimelineUserInterface(std::vector<std::string>& timeline) : timeline_(timeline) {}

    int32_t MessageBox(WindowHandle owner, const std::string& text, const std::string& title, uint32_t style) override
    {
        timeline_.push_back("box " + title);
        return ScriptedUserInterface::MessageBox(owner, text, title, style);
    }

private:
    std::vector<std::string>& timeline_;
};

class ProfileWorkerTest : public ::testing::Test {
protected:
    ProfileWorkerTest() { SetProfileDialogHandle(dialog.handle()); }
    ~ProfileWorkerTest() override { SetProfileDialogHandle(nullptr); }

    void Run() { ProfileWorker(engine, ui, clock).Run('E'); }

    RecordingDialog dialog;
    ScriptedEngine engine;
    ManualClock clock;
    TimelineUserInterface ui{dialog.messages};
};

TEST_F(ProfileWorkerTest, EngineRunsOnTheDriveWithTheDialogsHandleAndReportsReachTheDialogInOrder)
{
    engine.reports = {{kReportScanStarted}, {kReportScanProgress}, {kReportPlaylistsStarted}, {kReportProfileFinished}};
    Run();

    ASSERT_EQ(engine.runs().size(), 1u);
    EXPECT_EQ(engine.runs()[0].first, 'E');
    EXPECT_EQ(engine.runs()[0].second, dialog.handle());
    EXPECT_EQ(dialog.messages, (std::vector<std::string>{"post report 1", "post report 7", "post report 2",
                                                         "post report 3", "send engine stopped 1", "send run ended"}));
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_TRUE(clock.pauses().empty());
}

TEST_F(ProfileWorkerTest, EveryResultButFailureAndCancelIsAFinishedRun)
{
    for (const int32_t result : {-2, -4, -5, 2}) {
        dialog.messages.clear();
        engine.result = result;
        Run();
        EXPECT_EQ(dialog.messages,
                  (std::vector<std::string>{"send engine stopped " + std::to_string(result), "send run ended"}))
            << result;
    }
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(ProfileWorkerTest, FailedRunWarnsThenShowsTheConnectionFailureAndDone)
{
    engine.result = kProfileRunFailed;
    Run();

    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].title, "Profiler Warning");
    EXPECT_EQ(boxes[0].text, "An unexpected error occurred.  Please check all connections to the system and that the "
                             "device(s) are working properly.");
    EXPECT_EQ(boxes[0].style, kMbOk | kMbIconExclamation);
    EXPECT_EQ(dialog.messages, (std::vector<std::string>{"send engine stopped 0", "box Profiler Warning",
                                                         "post report 6", "send run ended"}));
}

TEST_F(ProfileWorkerTest, CancelledRunClosesTheDialogAfterOneAndAHalfSeconds)
{
    engine.result = kProfileRunCancelled;
    Run();

    EXPECT_EQ(clock.pauses(), std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(1500)});
    EXPECT_EQ(dialog.messages, (std::vector<std::string>{"send engine stopped -1", "send command 1"}));
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(ProfileWorkerTest, EngineExceptionIsToldAndTheDialogCanBeClosed)
{
    engine.throws = true;
    Run();

    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "ERROR");
    EXPECT_EQ(boxes[0].text, "An unexpected exception occurred during the profiler process.  Profile aborted.");
    EXPECT_EQ(boxes[0].style, kMbOk | kMbIconExclamation);
    EXPECT_EQ(dialog.messages, (std::vector<std::string>{"send engine stopped 0", "box ERROR", "send run ended"}));
}

TEST_F(ProfileWorkerTest, ClosedDialogGetsNothingButTheFailureIsStillTold)
{
    SetProfileDialogHandle(nullptr);
    engine.result = kProfileRunFailed;
    engine.reports = {{kReportScanStarted}};
    Run();

    EXPECT_EQ(engine.runs()[0].second, nullptr);
    EXPECT_EQ(dialog.messages, std::vector<std::string>{"box Profiler Warning"});
}

// Every playlist left out, whatever the reason, and the names the player cannot address: one box,
// before the dialog ends the run with Done.
TEST_F(ProfileWorkerTest, WhatThePlayerLacksIsToldInOneMessageBeforeDone)
{
    engine.reports = {{kReportPlaylistsStarted},
                      {kReportPlaylistNotWritten, PlaylistReportValue(0, kPlaylistHeldBack)},
                      {kReportPlaylistNotWritten, PlaylistReportValue(2, kPlaylistDeviceFull)},
                      {kReportPlaylistNotWritten, PlaylistReportValue(3, kPlaylistTooLargeForPlayer)},
                      {kReportPlaylistNotWritten, PlaylistReportValue(5, kPlaylistDeviceFull)},
                      {kReportProfileFinished}};
    engine.summary.unaddressableFiles = 2;
    Run();

    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Kova MP3/Personal Jukebox Profiler");
    EXPECT_EQ(boxes[0].style, kMbOk | kMbIconExclamation);
    EXPECT_EQ(boxes[0].text,
              "The genre playlist was not written: the device holds more entries than the player's index can "
              "number (9999 at most).\n"
              "The title and audio files playlists were not written: the device is full.\n"
              "The artist playlist was not written: held back with the others, so that the player's playlists "
              "stay one set.\n"
              "The device keeps its previous playlists.\n"
              "2 songs have names with characters the player cannot read: the playlists show those characters "
              "as '?', and the player may not play such songs. Rename them with plain letters.");
    EXPECT_EQ(std::vector<std::string>(dialog.messages.end() - 3, dialog.messages.end()),
              (std::vector<std::string>{"send engine stopped 1", "box Kova MP3/Personal Jukebox Profiler",
                                        "send run ended"}));

    // The next run starts with an empty list.
    engine.reports = {{kReportProfileFinished}};
    engine.summary = {};
    Run();
    EXPECT_EQ(ui.messageBoxes().size(), 1u);
}

}  // namespace
}  // namespace trayhost
