#include "trayhost/profile/profileprogress.h"

#include "trayhost/profile/profilestatus.h"
#include "trayhost/progresscommand.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"

namespace trayhost {

ProfileProgress::ProfileProgress(ProfileDialogView& view, ProfilerEngine& engine, Clock& clock,
                                 UserInterface& userInterface)
    : view_(view), engine_(engine), userInterface_(userInterface),
      watchdog_(clock, CancelWatchdog::kProfileLimitMs,
                [this] {
                    if (!IsOver()) Abort();
                }),
      engineStatus_(kProfileStatusCaption)
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
    case kProfileEngineStoppedMessage:
        EngineStopped(static_cast<int32_t>(message.lParam));
        break;
    case kProfileRunEndedMessage:
        RunEnded();
        break;
    default:
        break;
    }
    return 0;
}

bool ProfileProgress::IsScanProgress(const platform::WindowMessage& message)
{
    return message.message == kProfileProgressMessage && message.wParam == kReportScanProgress;
}

void ProfileProgress::PressButton()
{
    switch (state_) {
    case State::Running:
    case State::Cancelling:
        if (!engineRunning_) break;
        state_ = State::Cancelling;
        view_.PostReport(kReportProfileCancelled);
        engine_.CancelSynchronize();
        watchdog_.Start();
        break;
    case State::Finished:
        Destroy();
        break;
    case State::Aborting:
    case State::Destroyed:
        break;
    }
}

// The cancel notice is the dialog's own (code 4, posted on Cancel) or the engine's (a cancelled
// scan). A run that completed was not cancelled, whatever notice the queue still held.
void ProfileProgress::Report(int32_t code, intptr_t value)
{
    // The engine clears its cancel flag as a run starts, so a Cancel pressed in the run's first
    // moments would be forgotten, and the watchdog would end the program on a large device: while
    // cancelling, every scan count asks again.
    if (code == kReportScanProgress && state_ == State::Cancelling && engineRunning_) engine_.CancelSynchronize();
    // "Profiling finished." is still the status of such a run, but not all there is to say of it.
    if (code == kReportPlaylistNotWritten) {
        view_.ShowOutcome(kPlaylistsNotWrittenOutcome);
        return;
    }
    const bool cancelNotice = code == kReportProfileCancelled;
    if (cancelNotice && engineCompleted_) return;
    const std::optional<std::string> text = ProfileStatusText(code, value);
    if (!text) return;
    const std::string line = ProfileStatusLine(*text);
    view_.ShowStatus(line);
    showingCancel_ = cancelNotice;
    if (!cancelNotice) engineStatus_ = line;
}

// The watchdog is there for an engine that does not stop; once the engine has returned, the run's
// own ending (Done, or the close after a cancel) follows, however long it took. A cancel that came
// too late to stop the run takes back its notice.
void ProfileProgress::EngineStopped(int32_t result)
{
    engineRunning_ = false;
    engineCompleted_ = result != kProfileRunCancelled;
    watchdog_.Stop();
    view_.ShowBusyCursor(false);
    if (engineCompleted_ && showingCancel_) {
        view_.ShowStatus(engineStatus_);
        showingCancel_ = false;
    }
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
