#include "trayhost/syncui/syncoptionscommand.h"

#include "platform/module.h"
#include "platform/sound.h"
#include "trayhost/busyrules.h"
#include "trayhost/syncui/synchelpfile.h"
#include "trayhost/syncui/syncuitexts.h"

#include <QCoreApplication>
#include <QThread>

#include <exception>

namespace trayhost {

SyncOptionsCommand::SyncOptionsCommand(Collaborators collaborators) : collaborators_(std::move(collaborators)) {}

SyncOptionsCommand::~SyncOptionsCommand()
{
    delete collaborators_.dialogs.Get(DialogSlot::SyncOptions);
}

void SyncOptionsCommand::Run()
{
    switch (DecideKovaSync(collaborators_.dialogs.Open(), collaborators_.syncWorkerRunning())) {
    case KovaSyncAction::Beep:
        collaborators_.userInterface.MessageBeep(platform::kBeepExclamation);
        break;
    case KovaSyncAction::RaiseOptions:
        collaborators_.dialogs.Raise(DialogSlot::SyncOptions);
        break;
    case KovaSyncAction::CreateOptions:
        try {
            SyncOptionsDialog* dialog = Create();
            dialog->show();
            dialog->raise();
            dialog->activateWindow();
            dialog->repaint();
        } catch (const std::exception&) {
            collaborators_.userInterface.MessageBox(nullptr, kSyncOpenFailedText, kSyncOpenFailedTitle,
                                                    kMbOk | kMbIconExclamation);
        }
        break;
    }
}

SyncOptionsResult SyncOptionsCommand::ShowModal()
{
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        SyncOptionsResult result = SyncOptionsResult::Discarded;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&] { result = ShowModal(); }, Qt::BlockingQueuedConnection);
        return result;
    }
    return static_cast<SyncOptionsResult>(Create()->exec());
}

SyncOptionsDialog* SyncOptionsCommand::Create()
{
    const std::string programPath = platform::ExecutablePath();
    auto* dialog = new SyncOptionsDialog({collaborators_.devices, collaborators_.userInterface,
                                          collaborators_.settings, collaborators_.mainWindow(), programPath,
                                          SyncOptionsHelpPath(programPath),
                                          [this] { collaborators_.dialogs.Set(DialogSlot::SyncOptions, nullptr); }});
    collaborators_.dialogs.Set(DialogSlot::SyncOptions, dialog);
    return dialog;
}

}  // namespace trayhost
