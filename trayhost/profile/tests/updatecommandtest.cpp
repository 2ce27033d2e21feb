#include "trayhost/profile/updatecommand.h"

#include "platform/sound.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/detection/tests/scopedvariable.h"
#include "trayhost/profile/updatetexts.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/tests/scriptedengine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trayhost {
namespace {

constexpr const char* kHelpError = "ERROR: Error occurred while trying to update the help files.";
constexpr const char* kSystemError = "ERROR: Error occurred while trying to update the system files.";

class UpdateCommandTest : public ::testing::Test {
protected:
    void Attach(std::vector<std::pair<char, uint8_t>> devices)
    {
        FakeDetection::Attach(std::move(devices));
        table.Rebuild("");
    }

    // Each box as "title: text", with its style checked against the kind of box.
    std::vector<std::string> Boxes() const
    {
        std::vector<std::string> shown;
        for (const auto& box : ui.messageBoxes()) {
            EXPECT_EQ(box.owner, nullptr);
            const uint32_t expectedStyle = box.title == "ERROR" ? kMbOk
                                           : box.title == "Kova Update Aborted" ? kMbOk | kMbIconExclamation
                                                                                : kMbOk | kMbIconInformation;
            EXPECT_EQ(box.style, expectedStyle) << box.title;
            shown.push_back(box.title + ": " + box.text);
        }
        return shown;
    }

    void Run(OpenDialogs open = {}) { command.Run(open); }

    DeviceTable table{&FakeDetection::Enumerate};
    ScriptedEngine engine;
    testsupport::ScriptedUserInterface ui;
    UpdateCommand command{table, engine, ui};
};

TEST_F(UpdateCommandTest, HdDeviceUpdatedCleanlyIsAnnouncedOnce)
{
    Attach({{'E', kModelHd}});
    Run();
    EXPECT_EQ(engine.updates(), (std::vector<std::string>{"help E", "system E 1"}));
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Kova MP3/Personal Jukebox: The Vantor Kova MP3 Jukebox device (E:) "
                                                "system files were successfully updated."});
}

TEST_F(UpdateCommandTest, PjDeviceAtFShowsThePjTextWithItsDrive)
{
    Attach({{'E', kModelHd}, {'F', kModelPj}});
    table.Select(1);
    Run();
    EXPECT_EQ(engine.updates(), (std::vector<std::string>{"help F", "system F 2"}));
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Kova MP3/Personal Jukebox: The Corvane Kova Personal Jukebox device "
                                                "(F:) system files were successfully updated."});
}

TEST_F(UpdateCommandTest, FailedHelpFilesHideTheSuccessOfTheSystemFiles)
{
    Attach({{'E', kModelHd}});
    engine.helpResult = 0;
    Run();
    EXPECT_EQ(engine.updates().size(), 2u);
    EXPECT_EQ(Boxes(), std::vector<std::string>{kHelpError});
}

TEST_F(UpdateCommandTest, NewerDeviceFilesAreToldAfterTheHelpError)
{
    const testsupport::ScopedVariable unset(kSupportAddressVariable, std::nullopt);
    Attach({{'E', kModelHd}});
    engine.helpResult = -4;
    engine.systemResult = kUpdateDeviceFilesNewer;
    Run();
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], kHelpError);
    EXPECT_EQ(boxes[1], "Kova MP3/Personal Jukebox: One or more of the system files on the Vantor Kova MP3 Jukebox "
                        "device is newer than the system files installed with the Kova Profiler application.  It is "
                        "recommended that you visit the Customer Support page on the manufacturer's web site to "
                        "check for software updates.");
}

TEST_F(UpdateCommandTest, NewerFilesOnAnyOtherModelGetThePjNoticeWithTheSupportAddressSet)
{
    const testsupport::ScopedVariable address(kSupportAddressVariable, "https://support.example.com/kova");
    Attach({{'G', kModelPj}});
    engine.systemResult = kUpdateDeviceFilesNewer;
    Run();
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Kova MP3/Personal Jukebox: One or more of the system files on the Corvane Kova Personal "
                           "Jukebox device is newer than the system files installed with the Kova Profiler "
                           "application.  It is recommended that you visit https://support.example.com/kova to "
                           "check for software updates."});
}

TEST_F(UpdateCommandTest, SystemFileErrorsWithAndWithoutAHelpError)
{
    Attach({{'E', kModelHd}});
    for (const int32_t systemResult : {0, -4, 3}) {
        engine.systemResult = systemResult;
        engine.helpResult = kUpdateDone;
        Run();
        engine.helpResult = 0;
        Run();
    }
    EXPECT_EQ(Boxes(), (std::vector<std::string>{kSystemError, kHelpError, kSystemError, kSystemError, kHelpError,
                                                 kSystemError, kSystemError, kHelpError, kSystemError}));
}

TEST_F(UpdateCommandTest, WithoutADeviceNothingIsUpdated)
{
    Attach({});
    Run();
    EXPECT_TRUE(engine.updates().empty());
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Kova Update Aborted: No Vantor Kova MP3 or Corvane Kova Personal Jukebox devices were "
                           "detected.  Please verify all device connection(s) to the PC and that the device(s) are "
                           "working properly"});
}

TEST_F(UpdateCommandTest, OpenProfileOrVerificationDialogOnlyBeeps)
{
    Attach({{'E', kModelHd}});
    for (const DialogSlot busy : {DialogSlot::Profile, DialogSlot::Verification}) {
        OpenDialogs open;
        open.SetOpen(busy, true);
        Run(open);
    }
    EXPECT_EQ(ui.beeps(), (std::vector<uint32_t>{platform::kBeepExclamation, platform::kBeepExclamation}));
    EXPECT_TRUE(engine.updates().empty());
    EXPECT_TRUE(ui.messageBoxes().empty());

    OpenDialogs syncOpen;
    syncOpen.SetOpen(DialogSlot::SyncOptions, true);
    Run(syncOpen);
    EXPECT_EQ(engine.updates().size(), 2u);
}

}  // namespace
}  // namespace trayhost
