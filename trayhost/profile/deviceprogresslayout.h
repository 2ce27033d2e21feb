#pragma once

#include "trayhost/devicetable.h"

class QDialog;
class QLabel;
class QPushButton;

namespace trayhost {

// The controls of dialog 130 that its owner changes while a run goes on.
struct DeviceProgressControls {
    QLabel* status;       // 1000
    QLabel* outcome;      // under the status: what the run could not do; empty unless told
    QPushButton* button;  // 1003, the default button
};

// Lays out dialog 130, which shows a long operation on one device: the model's picture (1004, bitmap
// 132 or 133), the device's name and drive letter (1001), the operation's caption (1048), the status
// (1000, "Status:" at first), the outcome line and the button (1003, no text yet). The dialog carries
// id 130, the program's icon (109) and a minimise box; its title is the owner's. Its size is fixed,
// with room for a status of two lines and the outcome line. The device's model must be one with a
// name (DeviceModelName).
DeviceProgressControls LayOutDeviceProgress(QDialog& dialog, const DeviceTable::Entry& device, const char* caption);

}  // namespace trayhost
