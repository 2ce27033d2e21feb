#pragma once

#include "trayhost/commanddispatcher.h"
#include "trayhost/ui/dialogslots.h"
#include "trayhost/ui/userinterface.h"

#include <functional>

namespace trayhost {

class MainWindow;

// The handlers of the main window's commands. Each operation plugs in here by setting the handler of
// its command; a command whose operation this build lacks tells the user so in a message box.
class TrayCommands {
public:
    TrayCommands(CommandDispatcher& dispatcher, DialogSlots& dialogs, UserInterface& userInterface,
                 MainWindow& mainWindow);

private:
    void ShowAbout();
    void OpenKovaSync();
    void ReportNotAvailable(const char* commandMenuText);

    DialogSlots& dialogs_;
    UserInterface& userInterface_;
    MainWindow& mainWindow_;
};

}  // namespace trayhost
