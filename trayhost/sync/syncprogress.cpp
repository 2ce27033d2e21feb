#include "trayhost/sync/syncprogress.h"

#include "trayhost/progresscommand.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"
#include "trayhost/sync/pcpathtext.h"
#include "trayhost/sync/syncruntexts.h"

namespace trayhost {

SyncProgress::SyncProgress(const Collaborators& collaborators)
    : collaborators_(collaborators),
      watchdog_(collaborators.clock, CancelWatchdog::kSyncLimitMs, [this] { WatchdogExpired(); })
{
}

// A notice of a run going on. Once cancelled, the cancel stays in view instead until the run ends:
// the worker may have sent one just before it saw the cancel.
bool SyncProgress::TellsProgress(SyncNotice notice)
{
    return IsPerEntryNotice(notice) || notice == SyncNotice::Initializing || notice == SyncNotice::AcquiringInfo;
}

bool SyncProgress::IsEntryNotice(const platform::WindowMessage& message)
{
    return message.message == kSyncProgressMessage && message.lParam == 0 &&
           IsPerEntryNotice(static_cast<SyncNotice>(message.wParam));
}

void SyncProgress::Start()
{
    collaborators_.view.ShowButtonText(kButtonCancel);
}

intptr_t SyncProgress::HandleMessage(const platform::WindowMessage& message)
{
    if (state_ == State::Destroyed) return 0;
    switch (message.message) {
    case kSyncProgressMessage:
        Notice(static_cast<SyncNotice>(message.wParam), reinterpret_cast<const SyncCounts*>(message.lParam));
        break;
    case platform::kWmCommand:
        switch (ProgressCommandOf(message, kControlSyncProgressButton)) {
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
    case kSyncBringToFrontMessage:
        collaborators_.view.BringToFront();
        break;
    case kSyncShowDoneMessage:
        state_ = State::Finished;
        collaborators_.view.ShowButtonText(kButtonDone);
        break;
    default:
        break;
    }
    return 0;
}

void SyncProgress::PressButton()
{
    switch (state_) {
    case State::Running:
    case State::Cancelling:
        state_ = State::Cancelling;
        collaborators_.view.PostNotice(SyncNotice::Cancelled);
        collaborators_.cancel = 1;
        watchdog_.Start();
        break;
    case State::Finished:
        Destroy();
        break;
    case State::Destroyed:
        break;
    }
}

void SyncProgress::Notice(SyncNotice notice, const SyncCounts* counts)
{
    if (notice == SyncNotice::Complete) {
        Complete();
    } else if (IsPerEntryNotice(notice) && !counts) {
        ShowLatestEntry();
    } else if (state_ != State::Cancelling || !TellsProgress(notice)) {
        Show(notice, counts ? *counts : SyncCounts{});
        collaborators_.view.Repaint();
    }
}

void SyncProgress::Show(SyncNotice notice, const SyncCounts& counts)
{
    SyncCounts shown = counts;
    shown.path = SyncPathForDisplay(counts.path, collaborators_.settings.deviceLetter);
    collaborators_.view.ShowStatus(SyncStatusLine(notice, shown));
    if (const std::optional<std::string> pathLine = SyncPathLine(notice, counts)) {
        collaborators_.view.ShowPathLine(*pathLine);
    }
}

// The count shows at the next repaint: its messages come at most 25 times a second.
void SyncProgress::ShowLatestEntry()
{
    const std::optional<SyncProgressMailbox::Entry> latest = collaborators_.mailbox.Take();
    if (latest && state_ == State::Running) Show(latest->notice, latest->counts);
}

// After a successful run: the dialog closes and the device that was synchronised is profiled, as the
// profile asks; when the PC was the destination, the dialog stays with its "Done".
void SyncProgress::Complete()
{
    const SyncSettings& settings = collaborators_.settings;
    if (collaborators_.cancel.load() == 0 && settings.option != SyncOption::DeviceToPc) {
        const bool profile = settings.profileAfterSync;
        const char device = settings.deviceLetter;
        Destroy();
        if (profile) collaborators_.view.PostProfileCommand(device);
        return;
    }
    Show(SyncNotice::Complete, {});
    collaborators_.view.Repaint();
}

void SyncProgress::WatchdogExpired()
{
    if (state_ == State::Destroyed) return;
    collaborators_.userInterface.MessageBox(collaborators_.view.handle(), kSyncWatchdogText, kSyncWatchdogTitle,
                                            kMbOk | kMbIconStop);
    Destroy();
}

void SyncProgress::Destroy()
{
    watchdog_.Stop();
    state_ = State::Destroyed;
    collaborators_.view.Close();
}

}  // namespace trayhost
