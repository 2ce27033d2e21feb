#pragma once

#include <QIcon>

namespace trayhost {

// The program's icon (icons 107 and 108) in every size it is drawn in; the tray shows the small one.
QIcon AppIcon();

}  // namespace trayhost
