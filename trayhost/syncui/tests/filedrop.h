#pragma once

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <string>
#include <vector>

namespace trayhost {

// Drops files and folders on the widget as the file manager does, as text/uri-list. False when the
// widget refused to take them.
inline bool DropFiles(QWidget* target, const std::vector<std::string>& linuxPaths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : linuxPaths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return true;
}

}  // namespace trayhost
