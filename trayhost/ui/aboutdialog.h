#pragma once

#include <QDialog>

namespace trayhost {

// Dialog 103: the program's icon and name, and the version and copyright text in the read-only text
// control 1047; OK (1) and the close box end it.
class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* owner);
};

}  // namespace trayhost
