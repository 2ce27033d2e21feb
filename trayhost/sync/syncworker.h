#pragma once

#include "trayhost/clock.h"
#include "trayhost/sync/syncdialoglink.h"
#include "trayhost/sync/syncrun.h"
#include "trayhost/sync/syncsettings.h"
#include "trayhost/ui/userinterface.h"

#include <atomic>

namespace trayhost {

// The profile's flaws that keep a run from starting: each is told in a message owned by the
// progress dialog, which then closes.
enum class SyncProfileFlaw {
    None,
    InvalidOption,  // "Invalid Option"
    NoItems,        // "Invalid Sync Paths"
};

SyncProfileFlaw FindSyncProfileFlaw(const SyncSettings& settings);

// What the synchronisation worker thread does, from the loading of the profile to the run's outcome
// in the progress dialog: cancelled (the dialog closes after a pause), device lost, destination full
// (the reason and "Done"), or finished (the state file written, "Done", then notice 10, which closes
// the dialog unless the option is DeviceToPc). Everything it does to the dialog goes through the
// link; its questions and messages through the user interface.
class SyncWorker {
public:
    struct Collaborators {
        SyncSettings& settings;
        SyncDialogLink& dialog;
        UserInterface& userInterface;
        Clock& clock;
        std::atomic<int32_t>& cancel;  // cleared by the caller when the run starts
        SyncConflictMemory& conflicts;
        ProfilerEngine& engine;
    };

    explicit SyncWorker(const Collaborators& collaborators) : collaborators_(collaborators) {}

    // Runs on the worker thread. The flaw found in the profile, if any (the tray program then shows
    // the options dialog). An unexpected exception is told in the run's exception message, and the
    // dialog is left with "Done".
    SyncProfileFlaw Run();

private:
    SyncProfileFlaw Synchronize();
    void EndRun(const SyncRun& run);
    void ReportLeftAlone(const SyncProblems& problems);

    Collaborators collaborators_;
};

}  // namespace trayhost
