#pragma once

#include "trayhost/resources/ids.h"
#include "trayhost/trayavailability.h"

#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <optional>
#include <ostream>

namespace trayhost {

// The icon in the desktop's notification area. Clicks arrive as the mouse messages of the tray
// icon's callback. The icon watches for the tray: where there is none it says so once on the
// diagnostics stream, and it adds itself again whenever a tray appears.
class TrayIcon {
public:
    using ClickHandler = std::function<void(MouseMessage mouse)>;

    TrayIcon(const QIcon& icon, ClickHandler onClick, std::ostream& diagnostics);

    // Shows the icon with its tooltip and starts watching the tray.
    void Add();
    void Remove();

    // One look at the desktop's tray; called by the watch timer.
    void CheckDesktopTray();

    QSystemTrayIcon& icon() { return icon_; }

    // The mouse message a Qt activation stands for; empty for none.
    static std::optional<MouseMessage> MouseMessageOf(QSystemTrayIcon::ActivationReason reason);

private:
    QSystemTrayIcon icon_;
    QTimer watch_;
    TrayAvailability availability_;
    std::ostream& diagnostics_;
};

}  // namespace trayhost
