#include "trayhost/verify/verificationprogress.h"

#include "testsupport/scripteduserinterface.h"
#include "trayhost/resources/ids.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/tests/manualclock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trayhost {
namespace {

// Stands in for the verification dialog's window.
class FakeView : public VerificationDialogView {
public:
    void ShowStatus(const std::string& line) override { statuses.push_back(line); }
    void ShowButtonText(const std::string& text) override { button = text; }
    void BringToFront() override { ++broughtToFront; }
    void PostStatus(VerifyStatus status) override { posted.push_back(status); }
    WindowHandle handle() const override { return reinterpret_cast<WindowHandle>(0x1000); }
    void Close() override { ++closes; }
    void EndProgram() override { ++programEnds; }

    std::vector<std::string> statuses;
    std::string button;
    std::vector<VerifyStatus> posted;
    int broughtToFront = 0;
    int closes = 0;
    int programEnds = 0;
};

class VerificationProgressTest : public ::testing::Test {
protected:
    VerificationProgressTest()
    {
        FakeDetection::Attach({{'E', kModelHd}});
        devices.Rebuild("");
        progress.Start();
    }

    void Send(uint32_t message, uintptr_t wParam = 0, const char* name = nullptr)
    {
        progress.HandleMessage({message, wParam, reinterpret_cast<intptr_t>(name)});
    }
    const ManualClock::TimerState& Watchdog() const { return *clock.timers().front(); }

    FakeView view;
    VerificationFlags flags;
    DeviceTable devices{&FakeDetection::Enumerate};
    ManualClock clock;
    testsupport::ScriptedUserInterface ui;
    int profileStarts = 0;
    VerificationProgress progress{{view, flags, devices, clock, ui, [this] { ++profileStarts; }}};
};

TEST_F(VerificationProgressTest, EachStatusCodeShowsItsLine)
{
    struct Case {
        int32_t code;
        const char* name;
        const char* line;
    };
    const Case cases[] = {
        {1, nullptr, "Status:  Scanning device..."},
        {2, "list.m3u", "Status:  Verifying user playlist 'list.m3u'..."},
        {2, nullptr, "Status:  Verifying user playlists..."},
        {3, nullptr, "Status:  User Playlists Verification finished."},
        {4, nullptr, "Status:  Verification canceled.  This may take a few seconds..."},
        {5, nullptr, "Status:  Verification aborted.  No user playlists were found on the device to verify."},
        {6, nullptr, "Status:  Verification aborted.  The device is no longer connected to the system and/or is "
                     "not working properly."},
    };
    for (const Case& c : cases) {
        view.statuses.clear();
        Send(kVerifyStatusMessage, static_cast<uintptr_t>(c.code), c.name);
        EXPECT_EQ(view.statuses, std::vector<std::string>{c.line}) << c.code;
    }
    view.statuses.clear();
    Send(kVerifyStatusMessage, 7);
    EXPECT_TRUE(view.statuses.empty());
    EXPECT_EQ(view.button, "Cancel");
}

TEST_F(VerificationProgressTest, CancelAsksTheWorkerToStopAndTheEndOfTheRunStopsTheWatchdog)
{
    flags.profileOffer = true;
    progress.PressButton();
    Send(platform::kWmCommand, kControlCancel);
    EXPECT_EQ(view.posted, (std::vector<VerifyStatus>{VerifyStatus::Cancelling, VerifyStatus::Cancelling}));
    EXPECT_TRUE(flags.cancel);
    EXPECT_FALSE(flags.profileOffer);
    EXPECT_EQ(Watchdog().starts.size(), 1u);
    EXPECT_EQ(progress.state(), VerificationProgress::State::Cancelling);

    // The worker ended the run just after the cancel: nothing is left to watch.
    Send(kVerifyRunEndedMessage);
    EXPECT_FALSE(progress.watchdogRunning());
    EXPECT_EQ(view.button, "Done");
    EXPECT_EQ(view.broughtToFront, 1);
    clock.Tick(20);
    EXPECT_EQ(view.programEnds, 0);

    Send(platform::kWmCommand, kControlProfileButton);
    EXPECT_EQ(view.closes, 1);
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(VerificationProgressTest, WorkerThatDoesNotStopEndsTheProgramWithoutAnOffer)
{
    progress.PressButton();
    flags.profileOffer = true;  // a playlist written as the cancel came
    clock.Tick(10);
    EXPECT_EQ(view.closes, 0);
    clock.Tick();

    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_EQ(boxes[0].owner, view.handle());
    EXPECT_EQ(boxes[0].style, kMbOk | kMbIconStop);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(view.programEnds, 1);
    EXPECT_EQ(profileStarts, 0);
}

TEST_F(VerificationProgressTest, ClosingAfterChangesOffersToProfileTheSelectedDevice)
{
    struct Case {
        bool offer;
        std::vector<std::pair<char, uint8_t>> devices;
        int32_t answer;
        bool asked;
        bool profiled;
    };
    const Case cases[] = {
        {true, {{'E', kModelHd}}, kIdYes, true, true},
        {true, {{'F', kModelPj}}, kIdNo, true, false},
        {false, {{'E', kModelHd}}, kIdYes, false, false},
        {true, {}, kIdYes, false, false},
    };
    for (const Case& c : cases) {
        FakeDetection::Attach(c.devices);
        devices.Rebuild("");
        testsupport::ScriptedUserInterface answers;
        answers.ScriptMessageBoxAnswer(c.answer);
        profileStarts = 0;
        VerificationProgress closing({view, flags, devices, clock, answers, [this] { ++profileStarts; }});
        closing.Start();
        flags.profileOffer = c.offer;
        closing.HandleMessage({kVerifyRunEndedMessage, 0, 0});
        closing.PressButton();

        EXPECT_EQ(closing.state(), VerificationProgress::State::Destroyed);
        const auto boxes = answers.messageBoxes();
        ASSERT_EQ(boxes.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            const std::string device = c.devices[0].second == kModelHd ? "Vantor Kova MP3 Jukebox (E:)"
                                                                       : "Corvane Kova Personal Jukebox (F:)";
            EXPECT_EQ(boxes[0].text, "Do you want to profile the contents of the " + device + " device?");
            EXPECT_EQ(boxes[0].title, "Kova Profile");
            EXPECT_EQ(boxes[0].owner, nullptr);
            EXPECT_EQ(boxes[0].style, kMbYesNo | kMbIconQuestion);
        }
        EXPECT_EQ(profileStarts, c.profiled ? 1 : 0);
    }
}

}  // namespace
}  // namespace trayhost
