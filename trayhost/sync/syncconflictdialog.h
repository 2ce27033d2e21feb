#pragma once

#include "trayhost/ui/userinterface.h"

#include <QDialog>

class QCheckBox;
class QListWidget;

namespace trayhost {

// Dialog 101, "Resolve Sync Conflict": the PC file (1047) and the device file (1008) that differ,
// the three resolutions in a list (1009, item data = SyncConflictChoice, the previous choice
// selected), "Apply to all file conflicts." (1011, unticked) and OK, Cancel and Abort. Modal, centred
// on the desktop.
class SyncConflictDialog : public QDialog {
public:
    SyncConflictDialog(const SyncConflictQuestion& question, QWidget* owner);

    // Shows the dialog. OK gives kIdOk with the selected choice and the box; Cancel and the close box
    // give kIdCancel, Abort kIdAbort, and neither tells a choice.
    SyncConflictAnswer Ask();

private:
    QListWidget* list_;
    QCheckBox* applyToAll_;
    SyncConflictChoice previous_;
};

}  // namespace trayhost
