#include "trayhost/profile/profilecommand.h"

#include "platform/sound.h"
#include "trayhost/busyrules.h"
#include "trayhost/profile/profiledialog.h"
#include "trayhost/profile/profiledialoglink.h"
#include "trayhost/profile/profilestatus.h"
#include "trayhost/profile/profileworker.h"
#include "trayhost/resources/strings.h"
#include "trayhost/ui/windowcentring.h"

#include <system_error>

namespace trayhost {

ProfileCommand::ProfileCommand(Collaborators collaborators) : collaborators_(std::move(collaborators)) {}

ProfileCommand::~ProfileCommand()
{
    // The dialog goes first: a worker waiting for it to handle a message is released.
    if (QWidget* dialog = collaborators_.dialogs.Get(DialogSlot::Profile)) {
        DialogClosed();
        delete dialog;
    }
    if (worker_.joinable()) worker_.join();
}

void ProfileCommand::Run()
{
    const DeviceTable::Entry* device = collaborators_.devices.SelectedEntry();
    switch (DecideProfile(collaborators_.dialogs.Open(), device, workerRunning_)) {
    case ProfileAction::RaiseProfile:
        collaborators_.dialogs.Raise(DialogSlot::Profile);
        break;
    case ProfileAction::Beep:
        collaborators_.userInterface.MessageBeep(platform::kBeepExclamation);
        break;
    case ProfileAction::NoDevice:
        collaborators_.userInterface.MessageBox(nullptr, kNoDeviceProfileText, kNoDeviceProfileTitle,
                                                kMbOk | kMbIconExclamation);
        break;
    case ProfileAction::Ignore:
        break;
    case ProfileAction::Start:
        Start(*device);
        break;
    }
}

void ProfileCommand::Start(const DeviceTable::Entry& device)
{
    auto* dialog = new ProfileDialog(device, {collaborators_.engine, collaborators_.clock,
                                              collaborators_.userInterface, collaborators_.endProgram,
                                              [this] { DialogClosed(); }});
    collaborators_.dialogs.Set(DialogSlot::Profile, dialog);
    SetProfileDialogHandle(dialog->handle());
    dialog->adjustSize();
    CenterWindow(dialog);
    dialog->show();
    StartWorker(device.driveLetter);
}

void ProfileCommand::StartWorker(char driveLetter)
{
    // The last worker has ended (DecideProfile): this only collects it.
    if (worker_.joinable()) worker_.join();
    workerRunning_ = true;
    try {
        worker_ = std::thread([this, driveLetter] {
            ProfileWorker(collaborators_.engine, collaborators_.userInterface, collaborators_.clock).Run(driveLetter);
            workerRunning_ = false;
        });
    } catch (const std::system_error&) {
        workerRunning_ = false;
        collaborators_.userInterface.MessageBox(nullptr, kProfileThreadErrorText, kProfileThreadErrorTitle,
                                                kMbOk | kMbIconExclamation);
        // No engine runs: with Done the dialog can be closed, where Cancel would only start the
        // watchdog and end the program.
        SendProfileEngineStopped(kProfileRunFailed);
        SendProfileRunEnded();
    }
}

void ProfileCommand::DialogClosed()
{
    collaborators_.dialogs.Set(DialogSlot::Profile, nullptr);
    SetProfileDialogHandle(nullptr);
}

}  // namespace trayhost
