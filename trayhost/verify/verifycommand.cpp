#include "trayhost/verify/verifycommand.h"

#include "platform/sound.h"
#include "trayhost/busyrules.h"
#include "trayhost/resources/ids.h"
#include "trayhost/ui/windowcentring.h"
#include "trayhost/verify/verificationdialog.h"
#include "trayhost/verify/verificationworker.h"
#include "trayhost/verify/verifytexts.h"

#include <system_error>

namespace trayhost {

VerifyCommand::VerifyCommand(Collaborators collaborators) : collaborators_(std::move(collaborators)) {}

VerifyCommand::~VerifyCommand()
{
    // The dialog goes first: a worker waiting for it to handle a message is released.
    if (QWidget* dialog = collaborators_.dialogs.Get(DialogSlot::Verification)) {
        DialogClosed();
        delete dialog;
    }
    if (worker_.joinable()) worker_.join();
}

void VerifyCommand::Run()
{
    const DeviceTable::Entry* device = collaborators_.devices.SelectedEntry();
    switch (DecideVerify(collaborators_.dialogs.Open(), device, workerRunning_)) {
    case VerifyAction::Beep:
        collaborators_.userInterface.MessageBeep(platform::kBeepExclamation);
        break;
    case VerifyAction::RaiseVerification:
        collaborators_.dialogs.Raise(DialogSlot::Verification);
        break;
    case VerifyAction::NoDevice:
        collaborators_.userInterface.MessageBox(nullptr, kNoDeviceVerifyText, kNoDeviceVerifyTitle,
                                                kMbOk | kMbIconExclamation);
        break;
    case VerifyAction::Ignore:
        break;
    case VerifyAction::Start:
        Start(*device);
        break;
    }
}

void VerifyCommand::Start(const DeviceTable::Entry& device)
{
    flags_.cancel = false;
    auto* dialog = new VerificationDialog(
        device, {flags_, collaborators_.devices, collaborators_.clock, collaborators_.userInterface,
                 collaborators_.endProgram, [this] { DialogClosed(); }, collaborators_.startProfile});
    collaborators_.dialogs.Set(DialogSlot::Verification, dialog);
    link_.SetDialog(dialog->handle());
    dialog->adjustSize();
    CenterWindow(dialog);
    dialog->show();
    platform::PostMessage(dialog->handle(), kVerifyStatusMessage, static_cast<uintptr_t>(VerifyStatus::Scanning), 0);
    flags_.profileOffer = false;
    StartWorker(device.driveLetter);
}

void VerifyCommand::StartWorker(char driveLetter)
{
    // The last worker has ended (DecideVerify): this only collects it.
    if (worker_.joinable()) worker_.join();
    workerRunning_ = true;
    try {
        worker_ = std::thread([this, driveLetter] {
            VerificationWorker({collaborators_.engine, collaborators_.userInterface, collaborators_.clock, flags_,
                                link_})
                .Run(driveLetter);
            workerRunning_ = false;
        });
    } catch (const std::system_error&) {
        workerRunning_ = false;
        collaborators_.userInterface.MessageBox(nullptr, kVerifyThreadErrorText, kVerifyThreadErrorTitle,
                                                kMbOk | kMbIconExclamation);
        // No worker runs: with Done the dialog can be closed, where Cancel would only start the
        // watchdog and end the program.
        link_.SendRunEnded();
    }
}

void VerifyCommand::DialogClosed()
{
    collaborators_.dialogs.Set(DialogSlot::Verification, nullptr);
    link_.SetDialog(nullptr);
}

}  // namespace trayhost
