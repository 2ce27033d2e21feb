#include "trayhost/sync/synccommand.h"

#include "platform/sound.h"
#include "trayhost/busyrules.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/sync/syncprogressdialog.h"
#include "trayhost/sync/syncruntexts.h"
#include "trayhost/sync/syncworker.h"
#include "trayhost/ui/windowcentring.h"

#include <QMetaObject>

#include <exception>
#include <system_error>

namespace trayhost {

SyncCommand::SyncCommand(Collaborators collaborators) : collaborators_(std::move(collaborators)) {}

SyncCommand::~SyncCommand()
{
    cancel_ = 1;
    // The dialog goes first: a worker waiting for it to handle a message is released.
    if (QWidget* dialog = collaborators_.dialogs.Get(DialogSlot::SyncProgress)) {
        DialogClosed();
        delete dialog;
    }
    if (worker_.joinable()) worker_.join();
}

void SyncCommand::Run()
{
    const DeviceTable::Entry* device = ProfileDevice();
    switch (DecideStartSync(collaborators_.dialogs.Open(), device, workerRunning_)) {
    case StartSyncAction::Beep:
        collaborators_.userInterface.MessageBeep(platform::kBeepExclamation);
        break;
    case StartSyncAction::RaiseProgress:
        collaborators_.dialogs.Raise(DialogSlot::SyncProgress);
        break;
    case StartSyncAction::NoDevice:
        collaborators_.userInterface.MessageBox(nullptr, kSyncNoDeviceText, kSyncNoDeviceTitle,
                                                kMbOk | kMbIconExclamation);
        break;
    case StartSyncAction::Ignore:
        break;
    case StartSyncAction::Start:
        try {
            Start(*device);
        } catch (const std::exception&) {
            collaborators_.userInterface.MessageBox(nullptr, kSyncExceptionText, kSyncExceptionTitle,
                                                    kMbOk | kMbIconExclamation);
        }
        break;
    }
}

// The attached device the stored profile names; without one, the selected device, on which the
// run then tells that the profile's device is not there.
const DeviceTable::Entry* SyncCommand::ProfileDevice() const
{
    SyncSettings profile;
    LoadSyncSettings(profile);
    const DeviceTable& devices = collaborators_.devices;
    if (const std::optional<int32_t> index = devices.IndexOf(profile.deviceLetter)) return &devices.entry(*index);
    return devices.SelectedEntry();
}

void SyncCommand::Start(const DeviceTable::Entry& device)
{
    cancel_ = 0;
    auto* dialog = new SyncProgressDialog(device, {collaborators_.clock, collaborators_.userInterface, mailbox_,
                                                   cancel_, collaborators_.settings,
                                                   collaborators_.postProfileCommand, [this] { DialogClosed(); }});
    collaborators_.dialogs.Set(DialogSlot::SyncProgress, dialog);
    link_.SetDialog(dialog->handle());
    dialog->adjustSize();
    CenterWindow(dialog);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    StartWorker();
}

void SyncCommand::StartWorker()
{
    // The last worker has ended (DecideStartSync): this only collects it.
    if (worker_.joinable()) worker_.join();
    workerRunning_ = true;
    try {
        worker_ = std::thread([this] {
            const SyncProfileFlaw flaw = SyncWorker({collaborators_.settings, link_, collaborators_.userInterface,
                                                     collaborators_.clock, cancel_, conflicts_, collaborators_.engine})
                                             .Run();
            workerRunning_ = false;
            // The run is over before the options dialog opens, so that its "Synchronize" starts the
            // next one.
            if (flaw != SyncProfileFlaw::None) {
                QMetaObject::invokeMethod(&guiThread_, collaborators_.showOptions, Qt::QueuedConnection);
            }
        });
    } catch (const std::system_error&) {
        workerRunning_ = false;
        // The dialog stays; its Cancel ends in the watchdog's message.
        collaborators_.userInterface.MessageBox(nullptr, kSyncThreadErrorText, kSyncThreadErrorTitle,
                                                kMbOk | kMbIconExclamation);
    }
}

void SyncCommand::DialogClosed()
{
    collaborators_.dialogs.Set(DialogSlot::SyncProgress, nullptr);
    link_.SetDialog(nullptr);
}

}  // namespace trayhost
