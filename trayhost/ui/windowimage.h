#pragma once

#include <QDir>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace trayhost {

// Shows the window (offscreen, nowhere), lets it lay itself out and paint, and saves what it shows
// as a PNG file: the look of a dialog can be reviewed without a desktop. False when the image cannot
// be written.
bool SaveWindowImage(QWidget& window, const QString& path);

// Opens the menu at the screen's corner and saves it as a PNG file; with an entry given, that entry
// is highlighted and its submenu open beside the menu. False when the image cannot be written.
bool SaveMenuImage(QMenu& menu, QAction* openedEntry, const QString& path);

// Where a program that renders dialogs puts its images: the folder named by its first argument (made
// when missing), else the current folder; each image is PREFIX_NAME.png.
class WindowImageFolder {
public:
    WindowImageFolder(int argc, char** argv, const QString& prefix);

    void Save(QWidget& window, const char* name);
    void SaveMenu(QMenu& menu, QAction* openedEntry, const char* name);
    // The modal dialogs that ask shows one after the other, named in order: each one's image is taken
    // while ask waits on it, and then it is closed with its close box.
    void SaveModals(const std::vector<const char*>& names, const std::function<void()>& ask);

    // 0 when every image was written; else 1, each failure told on standard error.
    int ExitCode() const { return failed_ ? 1 : 0; }

private:
    QString PathOf(const char* name) const;
    void Check(bool written, const QString& path);

    QDir folder_;
    QString prefix_;
    bool failed_ = false;
};

}  // namespace trayhost
