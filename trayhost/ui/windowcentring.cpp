#include "trayhost/ui/windowcentring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace trayhost {

int32_t CenterWindow(QWidget* window)
{
    if (!window) return 0;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return 1;
    const QRect desktop = screen->geometry();
    const QRect frame = window->frameGeometry();
    const int centreX = desktop.x() + desktop.width() / 2;
    const int centreY = desktop.y() + desktop.height() / 2;
    // frameGeometry includes the title bar, as the window rectangle does; move() places the frame.
    window->move(centreX - frame.width() / 2, centreY - frame.height() / 2);
    return 1;
}

}  // namespace trayhost
