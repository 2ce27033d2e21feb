#include "trayhost/ui/trayapplication.h"

#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/module.h"
#include "trayhost/busyrules.h"
#include "trayhost/traymenumodel.h"
#include "trayhost/ui/appicon.h"

#include <QCursor>

namespace trayhost {

TrayApplication::TrayApplication(const Environment& environment)
    : diagnostics_(environment.diagnostics), quit_(environment.quit), devices_(environment.enumerateDevices),
      dispatcher_(devices_),
      mainWindow_({[this](uintptr_t wParam) { return dispatcher_.Dispatch(wParam); },
                   [this](MouseMessage mouse) { OnTrayClick(mouse); }, [this] { OnDestroyed(); }}),
      // The menu sends its command to the main window as a posted WM_COMMAND, so that the command
      // runs after the menu has closed.
      menu_([this](uint32_t commandId) {
          platform::PostMessage(mainWindow_.handle(), platform::kWmCommand, commandId, 0);
      }),
      icon_(AppIcon(),
            [this](MouseMessage mouse) {
                mainWindow_.HandleMessage({kTrayIconMessage, kTrayIconId, static_cast<intptr_t>(mouse)});
            },
            environment.diagnostics),
      commands_({dispatcher_, devices_, dialogs_, environment.userInterface, mainWindow_, environment.engine,
                 environment.clock})
{
}

void TrayApplication::Start()
{
    if (!mainWindow_.Publish()) {
        diagnostics_ << "KOVAHDDProfilerTrayApp: other programs cannot find this one: "
                     << platform::ErrorMessage(platform::GetLastError()) << '\n';
    }
    icon_.Add();
}

void TrayApplication::OnTrayClick(MouseMessage mouse)
{
    const TrayClickAction action = DecideTrayClick(mouse, dialogs_.Open(), devices_.detecting());
    switch (action.kind) {
    case TrayClickAction::Kind::Ignore:
        break;
    case TrayClickAction::Kind::RaiseDialog:
        dialogs_.Raise(action.dialog);
        break;
    case TrayClickAction::Kind::ShowMenu:
        // The first click of a double click opened it already: the devices are not looked for
        // again, nor the menu changed under the pointer.
        if (menu_.menu().isVisible()) break;
        devices_.Rebuild(platform::ExecutablePath());
        menu_.Rebuild(BuildTrayMenu(devices_));
        menu_.Popup(QCursor::pos());
        break;
    }
}

void TrayApplication::OnDestroyed()
{
    icon_.Remove();
    quit_(0);
}

}  // namespace trayhost
