#include "trayhost/busyrules.h"

#include <array>

namespace trayhost {

TrayClickAction DecideTrayClick(MouseMessage mouse, const OpenDialogs& open, bool detecting)
{
    if (mouse != MouseMessage::LeftButtonDoubleClick && mouse != MouseMessage::RightButtonUp) return {};
    static constexpr std::array kRaiseOrder{DialogSlot::Profile, DialogSlot::Verification, DialogSlot::SyncOptions,
                                            DialogSlot::SyncProgress};
    for (const DialogSlot slot : kRaiseOrder) {
        if (open.IsOpen(slot)) return {TrayClickAction::Kind::RaiseDialog, slot};
    }
    if (detecting) return {};
    return {TrayClickAction::Kind::ShowMenu};
}

KovaSyncAction DecideKovaSync(const OpenDialogs& open)
{
    if (open.IsOpen(DialogSlot::SyncProgress)) return KovaSyncAction::Beep;
    if (open.IsOpen(DialogSlot::SyncOptions)) return KovaSyncAction::RaiseOptions;
    return KovaSyncAction::CreateOptions;
}

}  // namespace trayhost
