// kovahdd sync run: the stored sync profile run from a terminal, with the notices of the tray
// program's progress dialog and its conflict questions; --dry-run lists what the run would do.

#include "cli/commands.h"
#include "cli/progressdisplay.h"
#include "cli/terminaluserinterface.h"

#include "trayhost/libraryprofilerengine.h"
#include "trayhost/sync/disksyncfilesystem.h"
#include "trayhost/sync/dryrunsyncfilesystem.h"
#include "trayhost/sync/pcpathtext.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/sync/syncrun.h"
#include "trayhost/sync/syncrunlock.h"
#include "trayhost/sync/syncruntexts.h"
#include "trayhost/sync/syncstate.h"
#include "trayhost/sync/syncworker.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace cli {

namespace {

using trayhost::SyncNotice;
using trayhost::SyncOutcome;

constexpr const char* kUsage =
    "Usage: kovahdd sync run [--dry-run] [--conflicts ask|pc|device|skip] [--allow-mass-delete]\n";
constexpr const char* kAllowMassDeleteFlag = "--allow-mass-delete";

struct RunRequest {
    bool dryRun = false;
    ConflictPolicy conflicts = ConflictPolicy::Ask;
    bool allowMassDelete = false;  // a clean-up that would delete most of its destination goes on unasked
};

std::optional<ConflictPolicy> ParsePolicy(const std::string& text)
{
    if (text == "ask") return ConflictPolicy::Ask;
    if (text == "pc") return ConflictPolicy::PcWins;
    if (text == "device") return ConflictPolicy::DeviceWins;
    if (text == "skip") return ConflictPolicy::Skip;
    return std::nullopt;
}

std::optional<RunRequest> ParseRunRequest(const Arguments& arguments)
{
    RunRequest request;
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        if (arguments[index] == "--dry-run") {
            request.dryRun = true;
        } else if (arguments[index] == kAllowMassDeleteFlag) {
            request.allowMassDelete = true;
        } else if (arguments[index] == "--conflicts" && index + 1 < arguments.size()) {
            const std::optional<ConflictPolicy> policy = ParsePolicy(arguments[++index]);
            if (!policy) return std::nullopt;
            request.conflicts = *policy;
        } else {
            return std::nullopt;
        }
    }
    return request;
}

// The first Ctrl-C asks the run to stop at its next check; a second one ends the program.
std::atomic<int32_t>* activeCancel = nullptr;

void OnInterrupt(int)
{
    if (activeCancel) activeCancel->store(1);
    std::signal(SIGINT, SIG_DFL);
}

// The run's notices on standard error, a per-entry count as a progress bar; with a dry run, each
// action on standard output. PC paths are shown as the Linux paths their user knows.
class TerminalSyncView : public trayhost::SyncRunView {
public:
    TerminalSyncView(ProgressDisplay& display, char deviceLetter, bool listActions)
        : display_(display), deviceLetter_(deviceLetter), listActions_(listActions)
    {
    }

    void Notice(SyncNotice notice, const trayhost::SyncCounts& counts) override
    {
        trayhost::SyncCounts shown = counts;
        shown.path = Shown(counts.path);
        std::string text = trayhost::SyncStatusText(notice, shown);
        if (const std::size_t lineBreak = text.find("\r\n"); lineBreak != std::string::npos) {
            text = text.substr(0, lineBreak) + " " + text.substr(lineBreak + 2);
        }
        if (trayhost::IsPerEntryNotice(notice)) {
            display_.ShowProgress(counts.current, counts.total, text);
            return;
        }
        if (const std::optional<std::string> pathLine = trayhost::SyncPathLine(notice, counts)) {
            display_.ShowStatus(*pathLine);
        }
        // Notices 9 and 8 show the same status, as the dialog shows it twice in one place.
        if (text != lastStatus_) display_.ShowStatus(text);
        lastStatus_ = text;
    }

    void Performed(const trayhost::SyncAction& action) override
    {
        if (!listActions_) return;
        display_.Finish();
        switch (action.kind) {
        case trayhost::SyncAction::Kind::Copy:
            std::printf("copy       %s -> %s\n", Shown(action.from).c_str(), Shown(action.to).c_str());
            break;
        case trayhost::SyncAction::Kind::CopyBack:
            std::printf("copy back  %s -> %s\n", Shown(action.from).c_str(), Shown(action.to).c_str());
            break;
        case trayhost::SyncAction::Kind::Delete:
            std::printf("delete     %s\n", Shown(action.from).c_str());
            break;
        case trayhost::SyncAction::Kind::Conflict:
            std::printf("conflict   %s <-> %s\n", Shown(action.from).c_str(), Shown(action.to).c_str());
            break;
        case trayhost::SyncAction::Kind::CannotCopy:
            std::printf("cannot copy %s -> %s (%s)\n", Shown(action.from).c_str(), Shown(action.to).c_str(),
                        action.reason.c_str());
            break;
        }
        std::fflush(stdout);
    }

    trayhost::WindowHandle owner() const override { return nullptr; }
    // Only a destination that cannot be made closes the dialog; its message says it all.
    void Close() override {}

    std::string Shown(const std::string& path) const { return trayhost::SyncPathForDisplay(path, deviceLetter_); }

private:
    ProgressDisplay& display_;
    char deviceLetter_;
    bool listActions_;
    std::string lastStatus_;
};

// The profile's flaws that keep a run from starting; false when there is none.
bool TellFlaw(const trayhost::SyncSettings& settings, TerminalUserInterface& ui)
{
    switch (trayhost::FindSyncProfileFlaw(settings)) {
    case trayhost::SyncProfileFlaw::InvalidOption:
        ui.MessageBox(nullptr, trayhost::kInvalidOptionText, trayhost::kInvalidOptionTitle, trayhost::kMbOk);
        std::fprintf(stderr, "kovahdd: choose one with 'kovahdd sync set --option'\n");
        return true;
    case trayhost::SyncProfileFlaw::NoItems:
        ui.MessageBox(nullptr, trayhost::kInvalidSyncPathsText, trayhost::kInvalidSyncPathsTitle, trayhost::kMbOk);
        std::fprintf(stderr, "kovahdd: add one with 'kovahdd sync add'\n");
        return true;
    case trayhost::SyncProfileFlaw::None:
        break;
    }
    if (settings.deviceLetter != 0) return false;
    std::fprintf(stderr, "kovahdd: the sync profile names no device; choose one with 'kovahdd sync set --device'\n");
    return true;
}

// Every problem the run met, grouped as the tray program's message groups them.
void TellProblems(const std::vector<trayhost::SyncProblem>& problems, const TerminalSyncView& view)
{
    const std::string text = trayhost::SyncProblemsText(
        problems, [&view](const std::string& path) { return view.Shown(path); }, std::numeric_limits<std::size_t>::max());
    if (!text.empty()) std::fprintf(stderr, "%s\n", text.c_str());
}

// The exit status of a run that went through all its items: the state file that could not be
// saved fails its last step; a clean-up not confirmed, then files not copied (or folders not read,
// or items that could not run) leave it incomplete.
int CompletedStatus(const std::vector<trayhost::SyncProblem>& problems)
{
    using Kind = trayhost::SyncProblem::Kind;
    const auto has = [&problems](Kind kind) {
        return std::any_of(problems.begin(), problems.end(),
                           [kind](const trayhost::SyncProblem& problem) { return problem.kind == kind; });
    };
    if (has(Kind::StateNotSaved)) return kExitFailure;
    if (has(Kind::NotCleanedUp)) return kExitCleanUpNotConfirmed;
    if (has(Kind::NotCopied) || has(Kind::UnreadableFolder) || has(Kind::ItemNotRun)) return kExitFilesNotCopied;
    return kExitSuccess;
}

// Ends the run as the tray program's worker does, without the dialog; the exit status. The state
// file's failure joins the problems.
int EndRun(const trayhost::SyncRun& run, trayhost::SyncSettings& settings, TerminalSyncView& view, bool dryRun,
           std::vector<trayhost::SyncProblem>& problems)
{
    switch (run.outcome()) {
    case SyncOutcome::Cancelled:
        // An Abort in a conflict question has told its own notice.
        if (run.endDelay() != trayhost::SyncRun::kAbortEndDelay) view.Notice(SyncNotice::Cancelled, {});
        return kExitCancelled;
    case SyncOutcome::DeviceLost:
        view.Notice(SyncNotice::DeviceLost, {});
        return kExitDeviceLost;
    case SyncOutcome::DestinationFull:
        view.Notice(SyncNotice::DestinationFull, {});
        return kExitDestinationFull;
    case SyncOutcome::Completed:
        break;
    }
    if (dryRun) {
        std::printf("Dry run: nothing was changed.\n");
    } else {
        view.Notice(SyncNotice::CleaningUp, {});
        if (!trayhost::WriteSyncState(settings)) problems.push_back(trayhost::StateNotSavedProblem());
        view.Notice(SyncNotice::Finished, {});
    }
    return CompletedStatus(problems);
}

}  // namespace

int RunSyncRun(const Arguments& arguments)
{
    const std::optional<RunRequest> request = ParseRunRequest(arguments);
    if (!request) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    ProgressDisplay display(stderr);
    TerminalUserInterface ui(request->allowMassDelete, kAllowMassDeleteFlag);
    ui.SetConflictPolicy(request->conflicts);
    ui.SetDryRun(request->dryRun);
    ui.SetProgressDisplay(&display);
    trayhost::SyncSettings settings;
    trayhost::LoadSyncSettings(settings);
    if (TellFlaw(settings, ui)) return kExitUsage;

    // A dry run changes nothing, so it may look on while another run works.
    const std::optional<trayhost::SyncRunLock> lock =
        request->dryRun ? std::optional<trayhost::SyncRunLock>() : trayhost::SyncRunLock::Take();
    if (!request->dryRun && !lock) {
        std::fprintf(stderr, "kovahdd: %s\n", trayhost::kSyncRunningText);
        return kExitSyncRunning;
    }

    TerminalSyncView view(display, settings.deviceLetter, request->dryRun);
    std::atomic<int32_t> cancel{0};
    activeCancel = &cancel;
    std::signal(SIGINT, OnInterrupt);
    view.Notice(SyncNotice::Initializing, {});
    trayhost::ReadSyncState(settings);
    trayhost::DiskSyncFileSystem disk(cancel);
    trayhost::DryRunSyncFileSystem dryRun(disk);
    trayhost::SyncConflictMemory conflicts;
    trayhost::LibraryProfilerEngine engine;
    trayhost::SyncRun run({settings, request->dryRun ? static_cast<trayhost::SyncFileSystem&>(dryRun) : disk, view,
                           ui, cancel, conflicts, engine});
    const bool ended = !run.SynchronizeItems();
    std::signal(SIGINT, SIG_DFL);
    activeCancel = nullptr;
    std::vector<trayhost::SyncProblem> problems = run.problems();
    const int status = ended ? kExitFailure : EndRun(run, settings, view, request->dryRun, problems);
    display.Finish();
    TellProblems(problems, view);
    const trayhost::SyncTally& tally = run.tally();
    std::printf("copied %d, copied back %d, deleted %d, conflicts %d\n", tally.copied, tally.copiedBack, tally.deleted,
                tally.conflicts);
    std::fflush(stdout);

    // A run that went through its items changed the device, whatever it could not do.
    const bool profile = !ended && run.outcome() == SyncOutcome::Completed && !request->dryRun &&
                         settings.profileAfterSync && settings.option != trayhost::SyncOption::DeviceToPc;
    if (!profile) return status;
    const int profiled = ProfileDrive(settings.deviceLetter);
    return profiled != kExitSuccess ? profiled : status;
}

}  // namespace cli
