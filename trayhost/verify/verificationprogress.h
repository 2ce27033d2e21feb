#pragma once

#include "platform/messages.h"
#include "trayhost/clock.h"
#include "trayhost/devicetable.h"
#include "trayhost/cancelwatchdog.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verificationdialogview.h"
#include "trayhost/verify/verificationflags.h"

#include <cstdint>
#include <functional>

namespace trayhost {

// The rules of the verification dialog (dialog 130 showing a verification): its window procedure,
// the button that is Cancel while the worker runs and Done once the run is over, the cancel watchdog
// that ends the program when the worker does not stop within 5.5 s, and the offer to profile the
// device when the dialog closes after playlists changed.
class VerificationProgress {
public:
    enum class State {
        Running,     // button "Cancel"
        Cancelling,  // button "Cancel", cancel flag set, watchdog running
        Finished,    // button "Done"
        Aborting,    // the watchdog fired: its message is shown, then the program ends
        Destroyed,
    };

    struct Collaborators {
        VerificationDialogView& view;
        VerificationFlags& flags;
        const DeviceTable& devices;
        Clock& clock;
        UserInterface& userInterface;
        std::function<void()> startProfile;  // the profile command, when the person accepts the offer
    };

    explicit VerificationProgress(const Collaborators& collaborators);

    // Puts the window in its first state: button "Cancel", no watchdog.
    void Start();

    // The dialog's window procedure: status codes (1027), commands (1 closes the dialog; 2, the Escape
    // key, and 1003 press the button) and the worker's run-ended message.
    intptr_t HandleMessage(const platform::WindowMessage& message);

    // Button 1003, also the close box and the Escape key. Cancel: status code 4, the cancel flag, the
    // watchdog unless it runs, and no profile offer. Done: close, then the offer.
    void PressButton();

    State state() const { return state_; }
    bool watchdogRunning() const { return watchdog_.IsRunning(); }

private:
    void ShowStatus(int32_t code, intptr_t fileName);
    void RunEnded();
    void Abort();
    // Closes the window and, when playlists changed, offers to profile the device.
    void Destroy();
    void CloseWindow();
    void OfferProfile();
    bool IsOver() const { return state_ == State::Aborting || state_ == State::Destroyed; }

    Collaborators collaborators_;
    CancelWatchdog watchdog_;
    State state_ = State::Running;
};

}  // namespace trayhost
