#pragma once

#include "platform/messages.h"
#include "trayhost/cancelwatchdog.h"
#include "trayhost/clock.h"
#include "trayhost/sync/syncdialogview.h"
#include "trayhost/sync/syncprogressmailbox.h"
#include "trayhost/sync/syncsettings.h"
#include "trayhost/ui/userinterface.h"

#include <atomic>
#include <cstdint>

namespace trayhost {

// The rules of the sync progress dialog (160): its window procedure for the worker's notices, the
// button that is Cancel while the run goes on and Done once it is over, and the cancel watchdog that
// closes the dialog when the worker does not end within 8.5 s of a cancel.
class SyncProgress {
public:
    enum class State {
        Running,     // button "Cancel"
        Cancelling,  // button "Cancel", cancel asked for, watchdog running
        Finished,    // button "Done"
        Destroyed,
    };

    struct Collaborators {
        SyncDialogView& view;
        SyncProgressMailbox& mailbox;  // the latest per-entry notice
        Clock& clock;
        UserInterface& userInterface;
        std::atomic<int32_t>& cancel;  // the run's cancel flag
        const SyncSettings& settings;  // the option, device and profile-after-sync of the run
    };

    // A per-entry notice, whose counts wait in the mailbox: the newest says all that older ones did,
    // so the window handle may keep just one of them waiting (QtMessageTarget's progress filter).
    static bool IsEntryNotice(const platform::WindowMessage& message);

    explicit SyncProgress(const Collaborators& collaborators);

    // Puts the window in its first state: button "Cancel", no watchdog.
    void Start();

    // The dialog's window procedure: notices (1028), commands (1 closes the dialog; 2, the Escape
    // key, and 1003 press the button), and the worker's bring-to-front and run-ended messages.
    intptr_t HandleMessage(const platform::WindowMessage& message);

    // Button 1003, also the close box and the Escape key. Cancel: notice 1, the cancel flag, and the
    // watchdog unless it runs. Done: close.
    void PressButton();

    State state() const { return state_; }

private:
    static bool TellsProgress(SyncNotice notice);
    void Notice(SyncNotice notice, const SyncCounts* counts);
    void Show(SyncNotice notice, const SyncCounts& counts);
    void ShowLatestEntry();
    void Complete();
    void WatchdogExpired();
    void Destroy();

    Collaborators collaborators_;
    CancelWatchdog watchdog_;
    State state_ = State::Running;
};

}  // namespace trayhost
