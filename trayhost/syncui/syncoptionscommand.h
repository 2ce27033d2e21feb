#pragma once

#include "trayhost/devicetable.h"
#include "trayhost/sync/syncsettings.h"
#include "trayhost/syncui/syncoptionsdialog.h"
#include "trayhost/ui/dialogslots.h"
#include "trayhost/ui/userinterface.h"

#include <functional>

namespace trayhost {

// Opens the "KovaSync Options" dialog: from the tray menu (command 32779), modeless and at most
// once, and from a sync run that cannot start, modally.
class SyncOptionsCommand {
public:
    struct Collaborators {
        DeviceTable& devices;
        DialogSlots& dialogs;           // the dialog's slot is SyncOptions
        UserInterface& userInterface;
        SyncSettings& settings;         // the program's sync profile
        std::function<platform::WindowHandle()> mainWindow;  // receives command 32780
        std::function<bool()> syncWorkerRunning;             // a sync run's worker has not ended
    };

    explicit SyncOptionsCommand(Collaborators collaborators);
    // Deletes an open dialog, which discards its changes.
    ~SyncOptionsCommand();
    SyncOptionsCommand(const SyncOptionsCommand&) = delete;
    SyncOptionsCommand& operator=(const SyncOptionsCommand&) = delete;

    // Command 32779: a beep while a sync run's progress dialog exists or its worker runs; an open
    // options dialog comes to the front with the focus; otherwise the dialog opens, modeless and
    // without owner. A failure to open it is told in a message box.
    void Run();

    // For a sync run whose profile has no valid option or no items: shows the dialog modally, without
    // owner, and returns how it ended. May be called from any thread; a thread other than the GUI
    // thread waits while the GUI thread shows the dialog.
    SyncOptionsResult ShowModal();

private:
    SyncOptionsDialog* Create();

    Collaborators collaborators_;
};

}  // namespace trayhost
