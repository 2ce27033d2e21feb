#pragma once

#include <QLineEdit>

#include <functional>
#include <string>
#include <vector>

class QMimeData;

namespace trayhost {

// The files and folders a drop from the file manager holds (text/uri-list), as Linux paths, in drop
// order; other URLs are left out.
std::vector<std::string> DroppedLinuxPaths(const QMimeData* data);

// The inside paths of the dropped files and folders ("E:\Music"), at most 260 characters each.
std::vector<std::string> DroppedInsidePaths(const QMimeData* data);

// A path field that takes the first file or folder dropped on it, shown as shownAs makes it of its
// Linux path.
class PathDropField : public QLineEdit {
public:
    explicit PathDropField(std::function<QString(const std::string& linuxPath)> shownAs);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<QString(const std::string&)> shownAs_;
};

}  // namespace trayhost
