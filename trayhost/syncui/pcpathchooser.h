#pragma once

#include <QFileDialog>

#include <optional>

namespace trayhost {

// The PC browser of the path editor: a file dialog titled "Please choose the synchronization
// destination folder." that shows folders and files. "Choose" takes the selected folder, or the
// folder shown when none is selected; opening a folder (double click, Enter) goes into it, and
// opening a file chooses the file.
class PcPathChooser : public QFileDialog {
public:
    // Starts in startPath (a Linux path) when it names an existing folder, with a file there
    // selected when it names an existing file, and in the current directory otherwise.
    PcPathChooser(QWidget* owner, const QString& startPath);

    // The chosen full path after the dialog was accepted.
    const QString& chosenPath() const { return chosenPath_; }

    void accept() override;

private:
    QString chosenPath_;
};

// Runs the chooser modally; the chosen path, or nothing when it was cancelled.
std::optional<QString> BrowseForPcPath(QWidget* owner, const QString& startPath);

}  // namespace trayhost
