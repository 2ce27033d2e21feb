#pragma once

#include "trayhost/syncui/devicefoldertree.h"
#include "trayhost/ui/qtmessagetarget.h"
#include "trayhost/ui/userinterface.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace trayhost {

// The device folder browser of the path editor: every folder of the device's drive in a tree (1052),
// the entries of the folder chosen there in a list (1053), a new-folder button (1021), Refresh
// (1022) and the path OK returns (1020). It opens at a start path, whose first (at most) three
// characters name the drive. OK ends with kIdOk; Cancel, Escape and the close box with kIdCancel.
class DeviceFolderBrowser : public QDialog {
public:
    DeviceFolderBrowser(QWidget* owner, const std::string& startPath, UserInterface& userInterface);
    ~DeviceFolderBrowser() override;

    // After OK, the path shown when it was pressed (empty when none was); empty after Cancel.
    const std::string& chosenPath() const { return result_; }

    void accept() override;
    void reject() override;

private:
    // Rebuilds the tree. The first fill selects the start folder when there is one; every other
    // fill selects the drive root.
    void Populate(bool firstFill);
    // Adds the node's folders below item; returns the start folder's item when it is among them.
    QTreeWidgetItem* AddFolders(QTreeWidgetItem* item, const DeviceFolderNode& node);
    void ShowFolderContents(const std::string& folderPath);
    void ShowSelection(const std::string& path);
    void TreeSelectionChanged();
    void ListClicked();
    void ListActivated();
    // Asks for a name and creates the folder in the folder chosen in the tree; a name that is taken
    // is told and asked again.
    void NewFolder();
    // The new folder in the tree under its parent's item, and chosen in the list of the parent's entries.
    void ShowNewFolder(QTreeWidgetItem* parent, const std::string& name, const std::string& path);

    std::string startPath_;
    UserInterface& userInterface_;
    std::string selection_;
    std::string result_;
    QTreeWidget* tree_;
    QTreeWidget* list_;
    QPushButton* newFolder_;
    QLineEdit* selectionText_;
    bool filling_ = false;
    QtMessageTarget target_;
};

}  // namespace trayhost
