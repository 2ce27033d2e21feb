#include "trayhost/ui/traycommands.h"

#include "platform/sound.h"
#include "trayhost/busyrules.h"
#include "trayhost/resources/strings.h"
#include "trayhost/ui/aboutdialog.h"
#include "trayhost/ui/mainwindow.h"
#include "trayhost/ui/windowcentring.h"

namespace trayhost {

TrayCommands::TrayCommands(CommandDispatcher& dispatcher, DialogSlots& dialogs, UserInterface& userInterface,
                           MainWindow& mainWindow)
    : dialogs_(dialogs), userInterface_(userInterface), mainWindow_(mainWindow)
{
    dispatcher.SetHandler(Command::About, [this] { ShowAbout(); });
    dispatcher.SetHandler(Command::Close, [this] { mainWindow_.Destroy(); });
    dispatcher.SetHandler(Command::Profile, [this] { ReportNotAvailable(kMenuTextProfile); });
    dispatcher.SetHandler(Command::Update, [this] { ReportNotAvailable(kMenuTextUpdate); });
    dispatcher.SetHandler(Command::Verify, [this] { ReportNotAvailable(kMenuTextVerify); });
    dispatcher.SetHandler(Command::KovaSync, [this] { OpenKovaSync(); });
    dispatcher.SetHandler(Command::StartSync, [this] { ReportNotAvailable(kMenuTextKovaSync); });
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

void TrayCommands::OpenKovaSync()
{
    switch (DecideKovaSync(dialogs_.Open())) {
    case KovaSyncAction::Beep:
        userInterface_.MessageBeep(platform::kBeepExclamation);
        break;
    case KovaSyncAction::RaiseOptions:
        dialogs_.Raise(DialogSlot::SyncOptions);
        break;
    case KovaSyncAction::CreateOptions:
        ReportNotAvailable(kMenuTextKovaSync);
        break;
    }
}

void TrayCommands::ReportNotAvailable(const char* commandMenuText)
{
    userInterface_.MessageBox(nullptr, NotAvailableText(commandMenuText), kNotAvailableTitle,
                              kMbOk | kMbIconInformation);
}

}  // namespace trayhost
