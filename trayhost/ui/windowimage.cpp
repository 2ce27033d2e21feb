#include "trayhost/ui/windowimage.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace trayhost {

namespace {

// How soon to look again for a modal dialog that ask has not shown yet.
constexpr std::chrono::milliseconds kLookAgain{10};

}  // namespace

bool SaveWindowImage(QWidget& window, const QString& path)
{
    window.show();
    QCoreApplication::processEvents();
    return window.grab().save(path, "PNG");
}

bool SaveMenuImage(QMenu& menu, QAction* openedEntry, const QString& path)
{
    menu.popup(QPoint(0, 0));
    if (openedEntry) menu.setActiveAction(openedEntry);
    QCoreApplication::processEvents();
    QMenu* submenu = openedEntry ? openedEntry->menu() : nullptr;
    if (!submenu || !submenu->isVisible()) return menu.grab().save(path, "PNG");

    // The two popups as they stand on the screen, on a transparent ground.
    const QRect area = menu.geometry().united(submenu->geometry());
    QPixmap image(area.size());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawPixmap(menu.pos() - area.topLeft(), menu.grab());
    painter.drawPixmap(submenu->pos() - area.topLeft(), submenu->grab());
    painter.end();
    return image.save(path, "PNG");
}

WindowImageFolder::WindowImageFolder(int argc, char** argv, const QString& prefix)
    : folder_(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath()), prefix_(prefix)
{
    if (!folder_.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder_.path()));
        failed_ = true;
    }
}

void WindowImageFolder::Save(QWidget& window, const char* name)
{
    const QString path = PathOf(name);
    Check(SaveWindowImage(window, path), path);
}

void WindowImageFolder::SaveMenu(QMenu& menu, QAction* openedEntry, const char* name)
{
    const QString path = PathOf(name);
    Check(SaveMenuImage(menu, openedEntry, path), path);
}

void WindowImageFolder::SaveModals(const std::vector<const char*>& names, const std::function<void()>& ask)
{
    std::size_t next = 0;
    // Drops a look still waiting when ask returns.
    QObject waiting;
    std::function<void()> saveNext = [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(kLookAgain, &waiting, saveNext);
            return;
        }
        Save(*dialog, names[next++]);
        // Waits in the queue for the next dialog's own event loop.
        if (next < names.size()) QTimer::singleShot(0, &waiting, saveNext);
        dialog->close();
    };
    QTimer::singleShot(0, &waiting, saveNext);
    ask();
    for (; next < names.size(); ++next) Check(false, PathOf(names[next]));
}

QString WindowImageFolder::PathOf(const char* name) const
{
    return folder_.filePath(QStringLiteral("%1_%2.png").arg(prefix_, QLatin1String(name)));
}

void WindowImageFolder::Check(bool written, const QString& path)
{
    if (written) return;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    failed_ = true;
}

}  // namespace trayhost
