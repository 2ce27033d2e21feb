#pragma once

#include "trayhost/clock.h"
#include "trayhost/commanddispatcher.h"
#include "trayhost/devicetable.h"
#include "trayhost/profile/profilecommand.h"
#include "trayhost/profile/updatecommand.h"
#include "trayhost/profilerengine.h"
#include "trayhost/sync/synccommand.h"
#include "trayhost/sync/syncsettings.h"
#include "trayhost/syncui/syncoptionscommand.h"
#include "trayhost/ui/dialogslots.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verifycommand.h"

namespace trayhost {

class MainWindow;

// The handlers of the main window's commands. Each operation plugs in here by setting the handler of
// its command.
class TrayCommands {
public:
    struct Collaborators {
        CommandDispatcher& dispatcher;
        DeviceTable& devices;  // the options dialog rebuilds it
        DialogSlots& dialogs;
        UserInterface& userInterface;
        MainWindow& mainWindow;
        ProfilerEngine& engine;
        Clock& clock;
    };

    explicit TrayCommands(const Collaborators& collaborators);

    // A profile worker thread has not ended yet.
    bool profileWorkerRunning() const { return profile_.workerRunning(); }
    // A verification worker thread has not ended yet.
    bool verifyWorkerRunning() const { return verify_.workerRunning(); }
    // A synchronisation worker thread has not ended yet.
    bool syncWorkerRunning() const { return sync_.workerRunning(); }

    // The program's sync profile, which the options dialog and the sync run share.
    SyncSettings& syncSettings() { return syncSettings_; }
    // The options dialog's command; a sync run that cannot start shows the dialog through it
    // (ShowModal).
    SyncOptionsCommand& syncOptions() { return syncOptions_; }

private:
    void ShowAbout();

    DialogSlots& dialogs_;
    UserInterface& userInterface_;
    MainWindow& mainWindow_;
    SyncSettings syncSettings_;
    UpdateCommand update_;
    ProfileCommand profile_;
    VerifyCommand verify_;
    SyncOptionsCommand syncOptions_;
    SyncCommand sync_;
};

}  // namespace trayhost
