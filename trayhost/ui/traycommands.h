#pragma once

#include "trayhost/clock.h"
#include "trayhost/commanddispatcher.h"
#include "trayhost/devicetable.h"
#include "trayhost/profile/profilecommand.h"
#include "trayhost/profile/updatecommand.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/dialogslots.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verifycommand.h"

namespace trayhost {

class MainWindow;

// The handlers of the main window's commands. Each operation plugs in here by setting the handler of
// its command; a command whose operation this build lacks tells the user so in a message box.
class TrayCommands {
public:
    struct Collaborators {
        CommandDispatcher& dispatcher;
        const DeviceTable& devices;
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

private:
    void ShowAbout();
    void OpenKovaSync();
    void ReportNotAvailable(const char* commandMenuText);

    DialogSlots& dialogs_;
    UserInterface& userInterface_;
    MainWindow& mainWindow_;
    UpdateCommand update_;
    ProfileCommand profile_;
    VerifyCommand verify_;
};

}  // namespace trayhost
