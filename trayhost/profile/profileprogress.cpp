#include "trayhost/profile/profileprogress.h"

#include "trayhost/profile/profilestatus.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"

namespace trayhost {

ProfileProgress::ProfileProgress(ProfileDialogView& view, ProfilerEngine& engine, Clock& clock,
                                 UserInterface& userInterface)
    : view_(view), engine_(engine), userInterface_(userInterface),
      watchdog_(clock, [this] {
          if (!IsOver()) Abort();
      })
{
}

void ProfileProgress::Start()
{
    view_.ShowButtonText(kButtonCancel);
    view_.ShowBusyCursor(true);
}

intptr_t ProfileProgress::HandleMessage(const platform::WindowMessage& message)
{
    if (IsOver()) return 0;
    switch (message.message) {
    case kProfileProgressMessage:
        Report(static_cast<int32_t>(message.wParam), message.lParam);
        break;
    case platform::kWmCommand:
        switch (static_cast<int32_t>(message.wParam & 0xFFFF)) {
        case kControlOk:
            Destroy();
            break;
        case kControlCancel:
        case kControlProfileButton:
            PressButton();
            break;
        default:
            break;
        }
        break;
    case kProfileEngineStoppedMessage:
        EngineStopped();
        break;
    case kProfileRunEndedMessage:
        RunEnded();
        break;
    default:
        break;
    }
    return 0;
}

void ProfileProgress::PressButton()
{
    switch (state_) {
    case State::Running:
    case State::Cancelling:
        state_ = State::Cancelling;
        view_.PostReport(kReportProfileCancelled);
        engine_.CancelSynchronize();
        if (engineRunning_) watchdog_.Start();
        break;
    case State::Finished:
        Destroy();
        break;
    case State::Aborting:
    case State::Destroyed:
        break;
    }
}

void ProfileProgress::Report(int32_t code, intptr_t value)
{
    if (const std::optional<std::string> text = ProfileStatusText(code, value)) {
        view_.ShowStatus(ProfileStatusLine(*text));
    }
}

// The watchdog is there for an engine that does not stop; once the engine has returned, the run's
// own ending (Done, or the close after a cancel) follows, however long it took.
void ProfileProgress::EngineStopped()
{
    engineRunning_ = false;
    watchdog_.Stop();
    view_.ShowBusyCursor(false);
}

void ProfileProgress::RunEnded()
{
    state_ = State::Finished;
    view_.ShowButtonText(kButtonDone);
    view_.BringToFront();
}

void ProfileProgress::Abort()
{
    state_ = State::Aborting;
    userInterface_.MessageBox(view_.handle(), kWatchdogErrorText, kWatchdogErrorTitle, kMbOk | kMbIconStop);
    Destroy();
    view_.EndProgram();
}

void ProfileProgress::Destroy()
{
    watchdog_.Stop();
    state_ = State::Destroyed;
    view_.Close();
}

}  // namespace trayhost
