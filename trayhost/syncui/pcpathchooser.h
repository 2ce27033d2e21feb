#pragma once

#include <QFileDialog>

#include <optional>

class QPushButton;

namespace trayhost {

// The PC browser of the path editor: a file dialog titled "Please choose the synchronization
// destination folder." that shows folders and files, for an item is two folders or two files.
// "Choose" takes the selected folder or file; opening a folder (double click, Enter) goes into it,
// and opening a file chooses the file. The columns of its detail view are as wide as what they show.
class PcPathChooser : public QFileDialog {
public:
    // Starts with startPath (a Linux path) selected in its folder, so that Choose keeps it, and in
    // the current directory when it names nothing that exists.
    PcPathChooser(QWidget* owner, const QString& startPath);

    // The chosen full path after the dialog was accepted.
    const QString& chosenPath() const { return chosenPath_; }

    void accept() override;

private:
    void MakeChooseButton();
    // Enabled while the selected or typed path exists.
    void UpdateChooseButton();
    // Size, type and date as wide as their widest entry; the name as well, and the room left over.
    void FitColumns();

    QPushButton* choose_ = nullptr;
    QString chosenPath_;
};

// Runs the chooser modally; the chosen path, or nothing when it was cancelled.
std::optional<QString> BrowseForPcPath(QWidget* owner, const QString& startPath);

}  // namespace trayhost
