#pragma once

#include "trayhost/clock.h"
#include "trayhost/profilerengine.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verificationdialoglink.h"
#include "trayhost/verify/verificationflags.h"

#include <chrono>

namespace trayhost {

// What the verification worker thread does: runs the verification (VerificationRun) with its
// status going to the verification dialog, then ends the run in the dialog. A cancelled run closes
// the dialog after a pause that shows the cancel; any other ends with its last status, the button
// "Done", the dialog in front and the exclamation beep.
class VerificationWorker {
public:
    static constexpr std::chrono::milliseconds kCloseDelay{1500};

    struct Collaborators {
        ProfilerEngine& engine;
        UserInterface& userInterface;
        Clock& clock;
        VerificationFlags& flags;
        VerificationDialogLink& dialog;
    };

    explicit VerificationWorker(const Collaborators& collaborators);

    // Runs on the worker thread. An exception is told in a message, and the dialog can then be
    // closed with Done.
    void Run(char driveLetter);

private:
    void Verify(char driveLetter);
    void EndCancelled();
    void EndRun(VerifyStatus status);

    Collaborators collaborators_;
};

}  // namespace trayhost
