#pragma once

#include "trayhost/clock.h"
#include "trayhost/devicetable.h"
#include "trayhost/sync/syncdialoglink.h"
#include "trayhost/sync/syncprogressmailbox.h"
#include "trayhost/sync/syncrun.h"
#include "trayhost/sync/syncsettings.h"
#include "trayhost/ui/dialogslots.h"
#include "trayhost/ui/userinterface.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

namespace trayhost {

// The start of a synchronisation run (command 32780): the busy rules first (DecideStartSync), then
// the progress dialog and a worker thread that runs the program's sync profile while the dialog
// shows the run. The run is for the profile's device, which the dialog names when it is attached,
// whichever device the tray menu selected.
class SyncCommand {
public:
    struct Collaborators {
        const DeviceTable& devices;
        DialogSlots& dialogs;
        UserInterface& userInterface;
        Clock& clock;
        ProfilerEngine& engine;
        SyncSettings& settings;                    // the program's one sync profile
        // The KovaSync Options dialog, modal, shown on the GUI thread after a run that could not
        // start for its profile (no valid option, no items).
        std::function<void()> showOptions;
        // Posts the profile command to the main window for the device at the drive letter.
        std::function<void(char driveLetter)> postProfileCommand;
    };

    explicit SyncCommand(Collaborators collaborators);
    // Cancels a run, deletes an open dialog and waits for the worker.
    ~SyncCommand();
    SyncCommand(const SyncCommand&) = delete;
    SyncCommand& operator=(const SyncCommand&) = delete;

    void Run();

    // True from the start of a worker thread until it has done everything it does.
    bool workerRunning() const { return workerRunning_; }

private:
    const DeviceTable::Entry* ProfileDevice() const;
    void Start(const DeviceTable::Entry& device);
    void StartWorker();
    void DialogClosed();

    Collaborators collaborators_;
    std::atomic<int32_t> cancel_{0};
    // The conflict dialog's choice, offered again at the next conflict, in this run or a later one.
    SyncConflictMemory conflicts_;
    SyncProgressMailbox mailbox_;
    SyncDialogLink link_{mailbox_};
    std::atomic<bool> workerRunning_{false};
    std::thread worker_;
    // Receives what the worker hands to the GUI thread; going with the command, it takes what has
    // not been handled yet with it.
    QObject guiThread_;
};

}  // namespace trayhost
