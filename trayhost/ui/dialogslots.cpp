#include "trayhost/ui/dialogslots.h"

namespace trayhost {

OpenDialogs DialogSlots::Open() const
{
    OpenDialogs open;
    for (const DialogSlot slot : {DialogSlot::Profile, DialogSlot::Verification, DialogSlot::SyncProgress,
                                  DialogSlot::SyncOptions, DialogSlot::About}) {
        open.SetOpen(slot, Get(slot) != nullptr);
    }
    return open;
}

void DialogSlots::Raise(DialogSlot slot) const
{
    QWidget* dialog = Get(slot);
    if (!dialog) return;
    dialog->showNormal();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace trayhost
