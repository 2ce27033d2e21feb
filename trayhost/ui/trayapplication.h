#pragma once

#include "trayhost/commanddispatcher.h"
#include "trayhost/clock.h"
#include "trayhost/devicetable.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/dialogslots.h"
#include "trayhost/ui/mainwindow.h"
#include "trayhost/ui/traycommands.h"
#include "trayhost/ui/trayicon.h"
#include "trayhost/ui/traymenu.h"
#include "trayhost/ui/userinterface.h"

#include <functional>
#include <ostream>

namespace trayhost {

// The resident tray program once it runs: hidden main window, tray icon, tray menu, device table,
// dialog slots and command handlers, wired together. What other operations need of it (the device
// table, the dialog slots, the main window's handle, the command table) is reached from here.
class TrayApplication {
public:
    struct Environment {
        DeviceTable::EnumDevicesFunction enumerateDevices;
        UserInterface& userInterface;
        std::ostream& diagnostics;                  // where a missing tray is reported
        std::function<void(int exitCode)> quit;     // ends the event loop
        ProfilerEngine& engine;
        Clock& clock;                               // timers of the dialogs, pauses of the workers
    };

    explicit TrayApplication(const Environment& environment);

    // Publishes the main window and adds the tray icon. A window that cannot be published is still
    // usable here, but other programs cannot find it: that is reported on the diagnostics stream.
    void Start();

    DeviceTable& devices() { return devices_; }
    DialogSlots& dialogs() { return dialogs_; }
    CommandDispatcher& commands() { return dispatcher_; }
    MainWindow& mainWindow() { return mainWindow_; }
    TrayMenu& trayMenu() { return menu_; }
    TrayIcon& trayIcon() { return icon_; }

    // A profile worker thread has not ended yet: at the end of the program, an engine that never
    // stopped after a cancel.
    bool profileWorkerRunning() const { return commands_.profileWorkerRunning(); }
    // A verification worker thread has not ended yet: one that waits for an answer, or for a device
    // that hangs.
    bool verifyWorkerRunning() const { return commands_.verifyWorkerRunning(); }
    // A synchronisation worker thread has not ended yet: a run under way, or one that did not stop
    // after a cancel.
    bool syncWorkerRunning() const { return commands_.syncWorkerRunning(); }

private:
    void OnTrayClick(MouseMessage mouse);
    void OnDestroyed();

    std::ostream& diagnostics_;
    std::function<void(int)> quit_;
    DeviceTable devices_;
    CommandDispatcher dispatcher_;
    DialogSlots dialogs_;
    MainWindow mainWindow_;
    TrayMenu menu_;
    TrayIcon icon_;
    TrayCommands commands_;
};

}  // namespace trayhost
