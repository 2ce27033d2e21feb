#include "trayhost/verify/verificationworker.h"

#include "platform/sound.h"
#include "trayhost/verify/verificationrun.h"

namespace trayhost {

VerificationWorker::VerificationWorker(const Collaborators& collaborators) : collaborators_(collaborators) {}

void VerificationWorker::Run(char driveLetter)
{
    try {
        Verify(driveLetter);
    } catch (...) {
        collaborators_.userInterface.MessageBox(nullptr, kVerifyExceptionText, kVerifyErrorTitle,
                                                kMbOk | kMbIconExclamation);
        // Left with Cancel, the dialog could only be closed by the watchdog ending the program.
        collaborators_.dialog.SendRunEnded();
    }
}

void VerificationWorker::Verify(char driveLetter)
{
    VerificationRun run({collaborators_.engine, collaborators_.userInterface, collaborators_.dialog,
                         collaborators_.flags});
    const VerificationRun::Outcome outcome = run.Run(driveLetter);
    if (outcome == VerificationRun::Outcome::Cancelled) {
        EndCancelled();
    } else {
        EndRun(FinalStatusOf(outcome));
    }
}

void VerificationWorker::EndCancelled()
{
    collaborators_.userInterface.MessageBeep(platform::kBeepExclamation);
    collaborators_.clock.Pause(kCloseDelay);
    collaborators_.dialog.SendClose();
}

void VerificationWorker::EndRun(VerifyStatus status)
{
    collaborators_.dialog.ShowStatus(status, {});
    collaborators_.dialog.SendRunEnded();
    collaborators_.userInterface.MessageBeep(platform::kBeepExclamation);
}

}  // namespace trayhost
