#include "trayhost/sync/syncworker.h"

#include "platform/sound.h"
#include "trayhost/sync/disksyncfilesystem.h"
#include "trayhost/sync/syncprofilestore.h"
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
        WriteSyncState(collaborators_.settings);
        dialog.BringToFront();
        dialog.Notice(SyncNotice::Finished);
        dialog.ShowDone();
        break;
    }
    ReportLeftAlone(run.problems());
    if (run.outcome() == SyncOutcome::Completed) dialog.PostComplete();
}

// Told before the dialog may close by itself, so that the message has its owner.
void SyncWorker::ReportLeftAlone(const SyncProblems& problems)
{
    const std::string text = LeftAloneText(problems.unreadableFolders, problems.unholdableNames);
    if (text.empty()) return;
    collaborators_.userInterface.MessageBox(collaborators_.dialog.owner(), text, kSyncDialogTitle,
                                            kMbOk | kMbIconExclamation);
}

}  // namespace trayhost
