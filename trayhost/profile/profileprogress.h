#pragma once

#include "platform/messages.h"
#include "trayhost/clock.h"
#include "trayhost/cancelwatchdog.h"
#include "trayhost/profile/profiledialogview.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/userinterface.h"

#include <cstdint>
#include <string>

namespace trayhost {

// The rules of the profile progress dialog (dialog 130): its window procedure, the button that is
// Cancel while the engine runs and Done once the run is over, and the cancel watchdog that ends the
// program when the engine does not stop within 5.5 s of a cancel.
class ProfileProgress {
public:
    enum class State {
        Running,     // button "Cancel"
        Cancelling,  // button "Cancel", cancel asked for, watchdog running while the engine runs
        Finished,    // button "Done"
        Aborting,    // the watchdog fired: its message is shown, then the program ends
        Destroyed,
    };

    ProfileProgress(ProfileDialogView& view, ProfilerEngine& engine, Clock& clock, UserInterface& userInterface);

    // Puts the window in its first state: button "Cancel", busy pointer, no watchdog.
    void Start();

    // The dialog's window procedure: progress reports (1026; a playlist not written adds the outcome
    // line under the status), commands (1 closes the dialog; 2, the
    // Escape key, and 1003 press the button) and the worker's engine-stopped message (its second
    // parameter the engine's result) and run-ended message.
    intptr_t HandleMessage(const platform::WindowMessage& message);

    // The scan's counts (1026 with code 7): each points to the counters the engine keeps, so the
    // newest says all that older ones did, and the window may skip those it has no time to show.
    static bool IsScanProgress(const platform::WindowMessage& message);

    // Button 1003, also the close box and the Escape key. Cancel while the engine runs: report code
    // 4, ask the engine to stop, and start the watchdog unless it runs. Once the engine has returned
    // there is nothing left to cancel, and Cancel does nothing. Done: close.
    void PressButton();

    State state() const { return state_; }
    bool watchdogRunning() const { return watchdog_.IsRunning(); }

private:
    void Report(int32_t code, intptr_t value);
    void EngineStopped(int32_t result);
    void RunEnded();
    void Abort();
    void Destroy();
    bool IsOver() const { return state_ == State::Aborting || state_ == State::Destroyed; }

    ProfileDialogView& view_;
    ProfilerEngine& engine_;
    UserInterface& userInterface_;
    CancelWatchdog watchdog_;
    bool engineRunning_ = true;
    // The engine returned a result other than cancelled: a cancel notice still to come is void.
    bool engineCompleted_ = false;
    // The status shows the cancel notice; engineStatus_ is the last other line, the one a void
    // notice gives way to.
    bool showingCancel_ = false;
    std::string engineStatus_;
    State state_ = State::Running;
};

}  // namespace trayhost
