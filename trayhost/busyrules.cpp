#include "trayhost/busyrules.h"

#include "trayhost/detection/devicemodelnames.h"

#include <array>

namespace trayhost {

TrayClickAction DecideTrayClick(MouseMessage mouse, const OpenDialogs& open, bool detecting)
{
    // Linux desktops act on a single left click on a tray icon; the double click still works.
    if (mouse != MouseMessage::LeftButtonUp && mouse != MouseMessage::LeftButtonDoubleClick &&
        mouse != MouseMessage::RightButtonUp) {
        return {};
    }
    static constexpr std::array kRaiseOrder{DialogSlot::Profile, DialogSlot::Verification, DialogSlot::SyncOptions,
                                            DialogSlot::SyncProgress};
    for (const DialogSlot slot : kRaiseOrder) {
        if (open.IsOpen(slot)) return {TrayClickAction::Kind::RaiseDialog, slot};
    }
    if (detecting) return {};
    return {TrayClickAction::Kind::ShowMenu};
}

KovaSyncAction DecideKovaSync(const OpenDialogs& open, bool syncWorkerRunning)
{
    if (open.IsOpen(DialogSlot::SyncProgress) || syncWorkerRunning) return KovaSyncAction::Beep;
    if (open.IsOpen(DialogSlot::SyncOptions)) return KovaSyncAction::RaiseOptions;
    return KovaSyncAction::CreateOptions;
}

ProfileAction DecideProfile(const OpenDialogs& open, const DeviceTable::Entry* selected, bool workerRunning)
{
    if (open.IsOpen(DialogSlot::Profile)) return ProfileAction::RaiseProfile;
    if (open.IsOpen(DialogSlot::Verification) || workerRunning) return ProfileAction::Beep;
    if (!selected) return ProfileAction::NoDevice;
    if (DeviceModelName(selected->model).empty()) return ProfileAction::Ignore;
    return ProfileAction::Start;
}

VerifyAction DecideVerify(const OpenDialogs& open, const DeviceTable::Entry* selected, bool workerRunning)
{
    if (open.IsOpen(DialogSlot::Profile)) return VerifyAction::Beep;
    if (open.IsOpen(DialogSlot::Verification)) return VerifyAction::RaiseVerification;
    if (workerRunning) return VerifyAction::Beep;
    if (!selected) return VerifyAction::NoDevice;
    if (DeviceModelName(selected->model).empty()) return VerifyAction::Ignore;
    return VerifyAction::Start;
}

StartSyncAction DecideStartSync(const OpenDialogs& open, const DeviceTable::Entry* selected, bool workerRunning)
{
    if (open.IsOpen(DialogSlot::Profile) || open.IsOpen(DialogSlot::Verification) ||
        open.IsOpen(DialogSlot::SyncOptions)) {
        return StartSyncAction::Beep;
    }
    if (open.IsOpen(DialogSlot::SyncProgress)) return StartSyncAction::RaiseProgress;
    if (workerRunning) return StartSyncAction::Beep;
    if (!selected) return StartSyncAction::NoDevice;
    if (DeviceModelName(selected->model).empty()) return StartSyncAction::Ignore;
    return StartSyncAction::Start;
}

}  // namespace trayhost
