#include "trayhost/busyrules.h"

#include <gtest/gtest.h>

namespace trayhost {
namespace {

OpenDialogs With(std::initializer_list<DialogSlot> slots)
{
    OpenDialogs open;
    for (const DialogSlot slot : slots) open.SetOpen(slot, true);
    return open;
}

TEST(TrayClickTest, LeftClickLeftDoubleClickAndRightButtonReleaseOpenTheMenu)
{
    for (const MouseMessage click :
         {MouseMessage::LeftButtonUp, MouseMessage::LeftButtonDoubleClick, MouseMessage::RightButtonUp}) {
        EXPECT_EQ(DecideTrayClick(click, {}, false).kind, TrayClickAction::Kind::ShowMenu);
        EXPECT_EQ(DecideTrayClick(click, With({DialogSlot::Profile}), false).kind, TrayClickAction::Kind::RaiseDialog);
    }
    for (const MouseMessage other :
         {MouseMessage::LeftButtonDown, MouseMessage::RightButtonDown, MouseMessage::MiddleButtonUp}) {
        EXPECT_EQ(DecideTrayClick(other, {}, false).kind, TrayClickAction::Kind::Ignore);
    }
}

TEST(TrayClickTest, OpenOperationDialogIsBroughtBackInsteadOfTheMenu)
{
    struct Case {
        OpenDialogs open;
        DialogSlot raised;
    };
    const Case cases[] = {
        {With({DialogSlot::Profile}), DialogSlot::Profile},
        {With({DialogSlot::Verification}), DialogSlot::Verification},
        {With({DialogSlot::SyncOptions}), DialogSlot::SyncOptions},
        {With({DialogSlot::SyncProgress}), DialogSlot::SyncProgress},
        {With({DialogSlot::SyncProgress, DialogSlot::SyncOptions}), DialogSlot::SyncOptions},
        {With({DialogSlot::SyncOptions, DialogSlot::Verification}), DialogSlot::Verification},
        {With({DialogSlot::Verification, DialogSlot::Profile}), DialogSlot::Profile},
    };
    for (const Case& c : cases) {
        const TrayClickAction action = DecideTrayClick(MouseMessage::RightButtonUp, c.open, false);
        EXPECT_EQ(action.kind, TrayClickAction::Kind::RaiseDialog);
        EXPECT_EQ(action.dialog, c.raised);
    }
}

TEST(TrayClickTest, AboutDialogDoesNotHoldBackTheMenu)
{
    EXPECT_EQ(DecideTrayClick(MouseMessage::RightButtonUp, With({DialogSlot::About}), false).kind,
              TrayClickAction::Kind::ShowMenu);
}

TEST(TrayClickTest, NothingHappensWhileTheDeviceTableIsBeingRebuilt)
{
    EXPECT_EQ(DecideTrayClick(MouseMessage::RightButtonUp, {}, true).kind, TrayClickAction::Kind::Ignore);
    // An open dialog still comes first.
    EXPECT_EQ(DecideTrayClick(MouseMessage::RightButtonUp, With({DialogSlot::Profile}), true).kind,
              TrayClickAction::Kind::RaiseDialog);
}

TEST(KovaSyncTest, RunningSynchronisationBeepsOpenOptionsAreRaisedOtherwiseCreated)
{
    EXPECT_EQ(DecideKovaSync({}, false), KovaSyncAction::CreateOptions);
    EXPECT_EQ(DecideKovaSync(With({DialogSlot::SyncOptions}), false), KovaSyncAction::RaiseOptions);
    EXPECT_EQ(DecideKovaSync(With({DialogSlot::SyncProgress}), false), KovaSyncAction::Beep);
    EXPECT_EQ(DecideKovaSync(With({DialogSlot::SyncProgress, DialogSlot::SyncOptions}), false), KovaSyncAction::Beep);
    EXPECT_EQ(DecideKovaSync(With({DialogSlot::Profile}), false), KovaSyncAction::CreateOptions);
    // A worker still in a device call after the cancel watchdog closed its dialog.
    EXPECT_EQ(DecideKovaSync({}, true), KovaSyncAction::Beep);
}

TEST(ProfileRuleTest, OpenProfileDialogComesFirstThenTheBusyBeepThenTheDevice)
{
    const DeviceTable::Entry hd{'E', kModelHd};
    EXPECT_EQ(DecideProfile(With({DialogSlot::Profile, DialogSlot::Verification}), &hd, true),
              ProfileAction::RaiseProfile);
    EXPECT_EQ(DecideProfile(With({DialogSlot::Verification}), nullptr, false), ProfileAction::Beep);
    EXPECT_EQ(DecideProfile({}, nullptr, true), ProfileAction::Beep);
    EXPECT_EQ(DecideProfile({}, nullptr, false), ProfileAction::NoDevice);
    EXPECT_EQ(DecideProfile(With({DialogSlot::SyncOptions, DialogSlot::About}), &hd, false), ProfileAction::Start);
}

TEST(ProfileRuleTest, OnlyTheTwoModelsAreProfiled)
{
    const DeviceTable::Entry pj{'G', kModelPj};
    const DeviceTable::Entry unknown{'H', kModelNone};
    const DeviceTable::Entry future{'H', 3};
    EXPECT_EQ(DecideProfile({}, &pj, false), ProfileAction::Start);
    EXPECT_EQ(DecideProfile({}, &unknown, false), ProfileAction::Ignore);
    EXPECT_EQ(DecideProfile({}, &future, false), ProfileAction::Ignore);
}

TEST(VerifyRuleTest, ProfileBeepsAnOpenVerificationIsRaisedThenTheDeviceDecides)
{
    const DeviceTable::Entry hd{'E', kModelHd};
    const DeviceTable::Entry unknown{'H', kModelNone};
    struct Case {
        OpenDialogs open;
        const DeviceTable::Entry* selected;
        bool workerRunning;
        VerifyAction action;
    };
    const Case cases[] = {
        {With({DialogSlot::Profile, DialogSlot::Verification}), &hd, false, VerifyAction::Beep},
        {With({DialogSlot::Verification}), &hd, true, VerifyAction::RaiseVerification},
        {{}, &hd, true, VerifyAction::Beep},
        {{}, nullptr, false, VerifyAction::NoDevice},
        {{}, &unknown, false, VerifyAction::Ignore},
        {With({DialogSlot::SyncOptions, DialogSlot::About}), &hd, false, VerifyAction::Start},
    };
    for (const Case& c : cases) EXPECT_EQ(DecideVerify(c.open, c.selected, c.workerRunning), c.action);
}

TEST(StartSyncRuleTest, OtherOperationsBeepAnOpenRunIsRaisedThenTheDeviceDecides)
{
    const DeviceTable::Entry hd{'E', kModelHd};
    const DeviceTable::Entry unknown{'H', kModelNone};
    struct Case {
        OpenDialogs open;
        const DeviceTable::Entry* selected;
        bool workerRunning;
        StartSyncAction action;
    };
    const Case cases[] = {
        {With({DialogSlot::Profile}), &hd, false, StartSyncAction::Beep},
        {With({DialogSlot::Verification}), &hd, false, StartSyncAction::Beep},
        {With({DialogSlot::SyncOptions, DialogSlot::SyncProgress}), &hd, false, StartSyncAction::Beep},
        {With({DialogSlot::SyncProgress}), nullptr, true, StartSyncAction::RaiseProgress},
        {{}, &hd, true, StartSyncAction::Beep},
        {With({DialogSlot::About}), nullptr, false, StartSyncAction::NoDevice},
        {{}, &unknown, false, StartSyncAction::Ignore},
        {{}, &hd, false, StartSyncAction::Start},
    };
    for (const Case& c : cases) EXPECT_EQ(DecideStartSync(c.open, c.selected, c.workerRunning), c.action);
}

}  // namespace
}  // namespace trayhost
