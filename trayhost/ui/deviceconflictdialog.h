#pragma once

#include "trayhost/ui/userinterface.h"

#include <QDialog>

class QListWidget;

namespace trayhost {

// Dialog 172, "Device Conflict": asks which of the two models is connected at a drive letter that
// the system's device records give two models for. Warning icon, the question's text (control 1066),
// the two models in a list (control 1065, item data = model code, the first selected), OK and Cancel.
class DeviceConflictDialog : public QDialog {
public:
    DeviceConflictDialog(const DeviceConflictQuestion& question, QWidget* owner);

    // Shows the dialog modally with the exclamation beep, centred on the screen when it has no owner.
    // OK gives kIdOk; Cancel
    // and the close box give kIdCancel. The model is that of the last selected entry.
    DeviceConflictAnswer Ask();

private:
    QListWidget* list_;
    uint8_t chosenModel_;
};

}  // namespace trayhost
