#include "trayhost/verify/verificationprogress.h"

#include "trayhost/detection/devicemodelnames.h"
#include "trayhost/progresscommand.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"

namespace trayhost {

VerificationProgress::VerificationProgress(const Collaborators& collaborators)
    : collaborators_(collaborators), watchdog_(collaborators.clock, CancelWatchdog::kProfileLimitMs, [this] {
          if (!IsOver()) Abort();
      })
{
}

void VerificationProgress::Start()
{
    collaborators_.view.ShowButtonText(kButtonCancel);
}

intptr_t VerificationProgress::HandleMessage(const platform::WindowMessage& message)
{
    if (IsOver()) return 0;
    switch (message.message) {
    case kVerifyStatusMessage:
        ShowStatus(static_cast<int32_t>(message.wParam), message.lParam);
        break;
    case platform::kWmCommand:
        switch (ProgressCommandOf(message, kControlProfileButton)) {
        case ProgressCommand::Close:
            Destroy();
            break;
        case ProgressCommand::PressButton:
            PressButton();
            break;
        case ProgressCommand::None:
            break;
        }
        break;
    case kVerifyRunEndedMessage:
        RunEnded();
        break;
    default:
        break;
    }
    return 0;
}

void VerificationProgress::PressButton()
{
    switch (state_) {
    case State::Running:
    case State::Cancelling:
        state_ = State::Cancelling;
        collaborators_.view.PostStatus(VerifyStatus::Cancelling);
        collaborators_.flags.cancel = true;
        watchdog_.Start();
        collaborators_.flags.profileOffer = false;
        break;
    case State::Finished:
        Destroy();
        break;
    case State::Aborting:
    case State::Destroyed:
        break;
    }
}

void VerificationProgress::ShowStatus(int32_t code, intptr_t fileName)
{
    const char* name = reinterpret_cast<const char*>(fileName);
    if (const std::optional<std::string> text = VerifyStatusText(code, name ? name : "")) {
        collaborators_.view.ShowStatus(ProfileStatusLine(*text));
    }
}

// Once the worker has ended the run, the watchdog has nothing left to watch: a cancel pressed just
// before must not end the program with the run already over.
void VerificationProgress::RunEnded()
{
    watchdog_.Stop();
    state_ = State::Finished;
    collaborators_.view.ShowButtonText(kButtonDone);
    collaborators_.view.BringToFront();
}

void VerificationProgress::Abort()
{
    state_ = State::Aborting;
    collaborators_.userInterface.MessageBox(collaborators_.view.handle(), kWatchdogErrorText, kWatchdogErrorTitle,
                                            kMbOk | kMbIconStop);
    CloseWindow();
    collaborators_.view.EndProgram();
}

void VerificationProgress::Destroy()
{
    CloseWindow();
    OfferProfile();
}

void VerificationProgress::CloseWindow()
{
    watchdog_.Stop();
    state_ = State::Destroyed;
    collaborators_.view.Close();
}

void VerificationProgress::OfferProfile()
{
    const DeviceTable::Entry* device = collaborators_.devices.SelectedEntry();
    if (!collaborators_.flags.profileOffer || collaborators_.devices.count() == 0 || !device) return;
    const std::string text = ProfileOfferText(DeviceModelName(device->model), device->driveLetter);
    if (collaborators_.userInterface.MessageBox(nullptr, text, kProfileOfferTitle, kMbYesNo | kMbIconQuestion) ==
        kIdYes) {
        collaborators_.startProfile();
    }
}

}  // namespace trayhost
