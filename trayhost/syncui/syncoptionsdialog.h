#pragma once

#include "trayhost/devicetable.h"
#include "trayhost/sync/syncsettings.h"
#include "trayhost/syncui/itemconflicts.h"
#include "trayhost/syncui/patheditorexchange.h"
#include "trayhost/syncui/synchelpviewer.h"
#include "trayhost/ui/qtmessagetarget.h"
#include "trayhost/ui/userinterface.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace trayhost {

// How the options dialog ended.
enum class SyncOptionsResult : int {
    Discarded = 0,    // the close box: nothing checked, nothing saved
    Synchronized = 1, // "Synchronize" (Enter): saved, and a run asked for
    Cancelled = 2,    // "Cancel" (Escape): saved without a run
};

// "KovaSync Options" (dialog 143): the device to synchronise (1007, Refresh 1019), the items as rows
// of number, PC path and device path (1023, with Insert 1024, Edit 1025, Delete 1026 and files or
// folders dropped on the window), the copy direction (1054, 1015, 1016), the clean-up box (1031),
// "Profile Device After Sync" (1042) and "Help..." (1032). It edits the sync profile: loaded when the
// dialog opens, saved when it closes with "Synchronize" or "Cancel" once no two items conflict and
// an option is chosen. "Synchronize" then posts command 32780 to the main window. The dialog
// deletes itself when it closes; the help viewer it opened closes with it.
class SyncOptionsDialog : public QDialog {
public:
    struct Collaborators {
        DeviceTable& devices;           // rebuilt when the device box is filled
        UserInterface& userInterface;
        SyncSettings& settings;         // the program's sync profile
        platform::WindowHandle mainWindow;  // receives command 32780
        std::string programPath;        // for detection's Device Conflict dialog
        std::optional<std::string> helpPath;
        std::function<void()> onClosed;     // the dialog has closed and is about to be deleted
    };

    explicit SyncOptionsDialog(Collaborators collaborators);
    ~SyncOptionsDialog() override;

    platform::WindowHandle handle() const { return target_.handle(); }

    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QLayout* MakeDeviceRow();
    QLayout* MakeItemArea();
    QLayout* MakeOptionArea();
    QLayout* MakeButtonRow();
    // The item list with room for path columns of this many characters and this many rows.
    QSize ListSize(int pathColumnCharacters, int rows) const;
    // The list at its first size, as far as the screen has room, and the rest of the window around it.
    QSize OpeningSize() const;

    // Rebuilds the device table and the device box; the number of devices.
    int32_t FillDeviceList();
    // The rows and the option controls from the profile.
    void FillItemList();
    void UpdateItemButtons();
    SyncOption ReadOptionButtons() const;
    void CheckOptionButton(SyncOption option);
    void ShowCleanupBox(SyncOption option);
    const DeviceTable::Entry* SelectedDevice() const;

    QTreeWidgetItem* AppendRow(const SyncPathPair& paths);
    static void SetRowPaths(QTreeWidgetItem* row, const SyncPathPair& paths);
    static SyncPathPair PathsOf(const QTreeWidgetItem* row);
    std::vector<SyncPathPair> Rows() const;
    // Focuses the list and selects the row, scrolled into view.
    void SelectRow(int row);
    void RenumberItems();

    // The path editor, modal, on the exchange; true when it ended with OK.
    bool RunPathEditor(PathEditorExchange& exchange);
    void InsertItem();
    void EditItem();
    void DeleteItem();
    void AddDroppedPaths(const std::vector<std::string>& insidePaths);
    // False, with the message shown and the row selected, when two rows claim a path in conflict.
    bool CheckItemConflicts();
    void CollectSettings();
    // "Synchronize" and "Cancel": save and close, unless a check keeps the dialog open.
    void SaveAndClose(SyncOptionsResult result);
    void Finish(SyncOptionsResult result);

    Collaborators collaborators_;
    SyncOptionsHelp help_;
    QComboBox* deviceBox_;
    QTreeWidget* items_;
    QPushButton* insert_;
    QPushButton* edit_;
    QPushButton* delete_;
    QRadioButton* syncBoth_;
    QRadioButton* pcToDevice_;
    QRadioButton* deviceToPc_;
    QCheckBox* cleanup_;
    QCheckBox* profileAfter_;
    QtMessageTarget target_;
};

}  // namespace trayhost
