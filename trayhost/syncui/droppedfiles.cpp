#include "trayhost/syncui/droppedfiles.h"

#include "platform/paths.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace trayhost {

std::vector<std::string> DroppedLinuxPaths(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    }
    return paths;
}

std::vector<std::string> DroppedInsidePaths(const QMimeData* data)
{
    std::vector<std::string> paths;
    for (const std::string& linuxPath : DroppedLinuxPaths(data)) {
        paths.push_back(platform::ToWindowsPath(linuxPath).substr(0, platform::kMaxPath));
    }
    return paths;
}

PathDropField::PathDropField(std::function<QString(const std::string& linuxPath)> shownAs)
    : shownAs_(std::move(shownAs))
{
}

void PathDropField::dragEnterEvent(QDragEnterEvent* event)
{
    if (DroppedLinuxPaths(event->mimeData()).empty()) {
        QLineEdit::dragEnterEvent(event);
        return;
    }
    event->acceptProposedAction();
}

void PathDropField::dragMoveEvent(QDragMoveEvent* event)
{
    if (DroppedLinuxPaths(event->mimeData()).empty()) {
        QLineEdit::dragMoveEvent(event);
        return;
    }
    event->acceptProposedAction();
}

void PathDropField::dropEvent(QDropEvent* event)
{
    const std::vector<std::string> paths = DroppedLinuxPaths(event->mimeData());
    if (paths.empty()) {
        QLineEdit::dropEvent(event);
        return;
    }
    setText(shownAs_(paths.front()));
    event->acceptProposedAction();
}

}  // namespace trayhost
