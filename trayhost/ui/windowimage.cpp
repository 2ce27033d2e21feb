#include "trayhost/ui/windowimage.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>

namespace trayhost {

bool SaveWindowImage(QWidget& window, const QString& path)
{
    window.show();
    QCoreApplication::processEvents();
    return window.grab().save(path, "PNG");
}

}  // namespace trayhost
