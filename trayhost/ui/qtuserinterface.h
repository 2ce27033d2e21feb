#pragma once

#include "trayhost/ui/userinterface.h"

#include <functional>

class QWidget;

namespace trayhost {

// The user interface of the program, drawn with Qt. Texts are in the system code page. An owner is a
// window handle of a QtMessageTarget, or null. Calls from other threads are carried out on the GUI
// thread while the caller waits.
class QtUserInterface : public UserInterface {
public:
    // Shows the Resolve Sync Conflict dialog, on the GUI thread, owned by the widget (may be null).
    // The dialog belongs to the sync feature, which builds on these widgets: the program hands it in.
    using SyncConflictAsker = std::function<SyncConflictAnswer(QWidget* owner, const SyncConflictQuestion& question)>;

    explicit QtUserInterface(SyncConflictAsker askSyncConflict) : askSyncConflict_(std::move(askSyncConflict)) {}

    // A QMessageBox with the style's buttons, icon and default button; closing it answers as the
    // Cancel button does (OK for a box with OK alone). The text is plain; a web address in it is
    // kept on one line.
    int32_t MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                       uint32_t style) override;
    // Handed to the platform's beep player.
    void MessageBeep(uint32_t type) override;
    // The Device Conflict dialog (DeviceConflictDialog).
    DeviceConflictAnswer AskDeviceConflict(const DeviceConflictQuestion& question) override;
    // The File Not Found dialog (FileNotFoundDialog).
    FileNotFoundAnswer AskFileNotFound(const FileNotFoundQuestion& question) override;
    // The asker given at construction.
    SyncConflictAnswer AskSyncConflict(WindowHandle owner, const SyncConflictQuestion& question) override;

private:
    SyncConflictAsker askSyncConflict_;
};

}  // namespace trayhost
