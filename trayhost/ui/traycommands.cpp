#include "trayhost/ui/traycommands.h"

#include "platform/messages.h"
#include "trayhost/resources/strings.h"
#include "trayhost/ui/aboutdialog.h"
#include "trayhost/ui/mainwindow.h"
#include "trayhost/ui/windowcentring.h"

namespace trayhost {

TrayCommands::TrayCommands(const Collaborators& collaborators)
    : dialogs_(collaborators.dialogs), userInterface_(collaborators.userInterface),
      mainWindow_(collaborators.mainWindow),
      update_(collaborators.devices, collaborators.engine, collaborators.userInterface),
      profile_({collaborators.devices, collaborators.dialogs, collaborators.userInterface, collaborators.engine,
                collaborators.clock, [this] { mainWindow_.Destroy(); }}),
      verify_({collaborators.devices, collaborators.dialogs, collaborators.userInterface, collaborators.engine,
               collaborators.clock, [this] { mainWindow_.Destroy(); }, [this] { profile_.Run(); }}),
      syncOptions_({collaborators.devices, collaborators.dialogs, collaborators.userInterface, syncSettings_,
                    [this] { return mainWindow_.handle(); }, [this] { return sync_.workerRunning(); }}),
      sync_({collaborators.devices, collaborators.dialogs, collaborators.userInterface, collaborators.clock,
             collaborators.engine, syncSettings_, [this] { syncOptions_.ShowModal(); },
             [this, &devices = collaborators.devices](char driveLetter) {
                 // The per-device command: the table's selected device need not be the one synchronised.
                 const std::optional<int32_t> index = devices.IndexOf(driveLetter);
                 if (!index) return;
                 platform::PostMessage(mainWindow_.handle(), platform::kWmCommand,
                                       kProfileDeviceFirstId + static_cast<uint32_t>(*index), 0);
             }})
{
    CommandDispatcher& dispatcher = collaborators.dispatcher;
    dispatcher.SetHandler(Command::About, [this] { ShowAbout(); });
    dispatcher.SetHandler(Command::Close, [this] { mainWindow_.Destroy(); });
    dispatcher.SetHandler(Command::Profile, [this] { profile_.Run(); });
    dispatcher.SetHandler(Command::Update, [this] { update_.Run(dialogs_.Open()); });
    dispatcher.SetHandler(Command::Verify, [this] { verify_.Run(); });
    dispatcher.SetHandler(Command::KovaSync, [this] { syncOptions_.Run(); });
    dispatcher.SetHandler(Command::StartSync, [this] { sync_.Run(); });
}

void TrayCommands::ShowAbout()
{
    if (dialogs_.Get(DialogSlot::About)) return;
    AboutDialog dialog(&mainWindow_);
    dialogs_.Set(DialogSlot::About, &dialog);
    dialog.adjustSize();
    CenterWindow(&dialog);
    dialog.exec();
}

}  // namespace trayhost
