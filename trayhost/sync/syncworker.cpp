#include "trayhost/sync/syncworker.h"

#include "platform/sound.h"
#include "trayhost/sync/disksyncfilesystem.h"
#include "trayhost/sync/pcpathtext.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/sync/syncrunlock.h"
#include "trayhost/sync/syncruntexts.h"
#include "trayhost/sync/syncstate.h"

#include <exception>

namespace trayhost {

SyncProfileFlaw FindSyncProfileFlaw(const SyncSettings& settings)
{
    if (settings.option == SyncOption::Invalid) return SyncProfileFlaw::InvalidOption;
    if (settings.items.empty()) return SyncProfileFlaw::NoItems;
    return SyncProfileFlaw::None;
}

SyncProfileFlaw SyncWorker::Run()
{
    SyncProfileFlaw flaw = SyncProfileFlaw::None;
    try {
        flaw = Synchronize();
    } catch (const std::exception&) {
        collaborators_.userInterface.MessageBox(nullptr, kSyncExceptionText, kSyncExceptionTitle,
                                                kMbOk | kMbIconExclamation);
        // Left with Cancel, the dialog could only be closed by its watchdog.
        collaborators_.dialog.ShowDone();
    }
    collaborators_.conflicts.applyToAll = false;
    collaborators_.settings.stateMap.Clear();
    return flaw;
}

SyncProfileFlaw SyncWorker::Synchronize()
{
    SyncSettings& settings = collaborators_.settings;
    SyncDialogLink& dialog = collaborators_.dialog;
    dialog.Notice(SyncNotice::Initializing);
    const std::optional<SyncRunLock> lock = SyncRunLock::Take();
    if (!lock) {
        collaborators_.userInterface.MessageBox(dialog.owner(), kSyncRunningText, kSyncRunningTitle,
                                                kMbOk | kMbIconExclamation);
        dialog.Close();
        return SyncProfileFlaw::None;
    }
    LoadSyncSettings(settings);
    const SyncProfileFlaw flaw = FindSyncProfileFlaw(settings);
    if (flaw != SyncProfileFlaw::None) {
        const bool invalidOption = flaw == SyncProfileFlaw::InvalidOption;
        collaborators_.userInterface.MessageBox(dialog.owner(), invalidOption ? kInvalidOptionText : kInvalidSyncPathsText,
                                                invalidOption ? kInvalidOptionTitle : kInvalidSyncPathsTitle,
                                                kMbOk | kMbIconExclamation);
        dialog.Close();
        return flaw;
    }
    ReadSyncState(settings);
    DiskSyncFileSystem files(collaborators_.cancel);
    SyncRun run({settings, files, dialog, collaborators_.userInterface, collaborators_.cancel,
                 collaborators_.conflicts, collaborators_.engine});
    if (run.SynchronizeItems()) EndRun(run);
    return SyncProfileFlaw::None;
}

void SyncWorker::EndRun(const SyncRun& run)
{
    SyncDialogLink& dialog = collaborators_.dialog;
    UserInterface& ui = collaborators_.userInterface;
    std::vector<SyncProblem> problems = run.problems();
    switch (run.outcome()) {
    case SyncOutcome::Cancelled:
        collaborators_.clock.Pause(run.endDelay());
        dialog.Close();
        return;
    case SyncOutcome::DeviceLost:
    case SyncOutcome::DestinationFull:
        ui.MessageBeep(platform::kBeepExclamation);
        dialog.BringToFront();
        dialog.Notice(run.outcome() == SyncOutcome::DeviceLost ? SyncNotice::DeviceLost : SyncNotice::DestinationFull);
        dialog.ShowDone();
        break;
    case SyncOutcome::Completed:
        dialog.Notice(SyncNotice::CleaningUp);
        if (!WriteSyncState(collaborators_.settings)) problems.push_back(StateNotSavedProblem());
        dialog.BringToFront();
        dialog.Notice(SyncNotice::Finished);
        dialog.ShowDone();
        break;
    }
    ReportProblems(problems);
    if (run.outcome() == SyncOutcome::Completed) dialog.PostComplete();
}

// Told before the dialog may close by itself, so that the message has its owner.
void SyncWorker::ReportProblems(const std::vector<SyncProblem>& problems)
{
    const char deviceLetter = collaborators_.settings.deviceLetter;
    const auto shown = [deviceLetter](const std::string& path) { return SyncPathForMessage(path, deviceLetter); };
    const std::string text = SyncProblemsText(problems, shown, kProblemPathsListed);
    if (text.empty()) return;
    collaborators_.userInterface.MessageBox(collaborators_.dialog.owner(), text, kSyncDialogTitle,
                                            kMbOk | kMbIconExclamation);
}

}  // namespace trayhost
