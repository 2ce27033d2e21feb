#include "trayhost/ui/appicon.h"

namespace trayhost {

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128}) {
        icon.addFile(QStringLiteral(":/icons/kovahdd-tray-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace trayhost
