// kovahdd verify TARGET [--remove-all | --keep-all] [--profile]: checks the user playlists of the
// device as the tray program's Verify does, asking on the terminal about each bad entry.

#include "cli/commands.h"
#include "cli/target.h"
#include "cli/terminaluserinterface.h"

#include "trayhost/libraryprofilerengine.h"
#include "trayhost/verify/verificationrun.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>

namespace cli {

namespace {

using trayhost::VerificationRun;

constexpr const char* kUsage = "Usage: kovahdd verify TARGET [--remove-all | --keep-all] [--profile]\n";

enum class BadEntryHandling {
    Ask,        // on the terminal, entry by entry
    RemoveAll,
    KeepAll,    // only report
};

struct VerifyRequest {
    std::string target;
    std::optional<BadEntryHandling> handling;  // named by a flag
    bool profileAfterwards = false;
};

std::optional<VerifyRequest> ParseRequest(const Arguments& arguments)
{
    VerifyRequest request;
    bool haveTarget = false;
    for (const std::string& argument : arguments) {
        const bool handlingFlag = argument == "--remove-all" || argument == "--keep-all";
        if (handlingFlag) {
            if (request.handling) return std::nullopt;
            request.handling = argument == "--remove-all" ? BadEntryHandling::RemoveAll : BadEntryHandling::KeepAll;
        } else if (argument == "--profile") {
            request.profileAfterwards = true;
        } else if (!haveTarget && !argument.starts_with("--")) {
            request.target = argument;
            haveTarget = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveTarget) return std::nullopt;
    return request;
}

// The answer to all that the flags give before the walk starts.
trayhost::VerificationOptions OptionsFor(BadEntryHandling handling)
{
    trayhost::VerificationOptions options;
    options.decisions.yesToAll = handling == BadEntryHandling::RemoveAll;
    options.decisions.noToAll = handling == BadEntryHandling::KeepAll;
    options.decisions.applyToAllPlaylists = handling != BadEntryHandling::Ask;
    if (handling == BadEntryHandling::KeepAll) options.writes = trayhost::PlaylistWrites::ReportOnly;
    return options;
}

// The run's statuses on standard error; each bad entry and each changed playlist as a line of its
// own on standard output, for the person or a script to read.
class TerminalReport : public trayhost::VerificationReport {
public:
    void ShowStatus(trayhost::VerifyStatus status, const std::string& fileName) override
    {
        if (const auto text = trayhost::VerifyStatusText(static_cast<int32_t>(status), fileName)) {
            std::fprintf(stderr, "%s\n", TerminalText(*text).c_str());
        }
    }

    void BadEntryFound(const trayhost::FileNotFoundQuestion& entry) override
    {
        const char* kind = entry.invalidCharacters ? "invalid characters" : "missing";
        std::printf("%s: %s %s\n", TerminalText(entry.playlistName).c_str(), kind,
                    TerminalText(entry.entryText).c_str());
        std::fflush(stdout);
    }

    void EmptyPlaylistFound(const std::string& playlistName) override
    {
        std::printf("%s: empty\n", TerminalText(playlistName).c_str());
        std::fflush(stdout);
    }

    void PlaylistChanged(const std::string& playlistName, trayhost::PlaylistChange change) override
    {
        const char* what = change == trayhost::PlaylistChange::Deleted ? "deleted" : "rewritten";
        std::printf("%s: %s\n", TerminalText(playlistName).c_str(), what);
        std::fflush(stdout);
    }
};

std::atomic<bool>* interruptedRun = nullptr;

// The first Ctrl-C cancels the run, also while a question waits for its key; a second one ends the
// program.
void OnInterrupt(int)
{
    interruptedRun->store(true);
}

void CatchInterrupt(std::atomic<bool>& cancel)
{
    interruptedRun = &cancel;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;  // no SA_RESTART: a wait for a key ends
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void ReleaseInterrupt()
{
    std::signal(SIGINT, SIG_DFL);
    interruptedRun = nullptr;
}

int ExitStatusFor(VerificationRun::Outcome outcome, int32_t playlistsWithErrors)
{
    switch (outcome) {
    case VerificationRun::Outcome::Finished:
        return playlistsWithErrors == 0 ? kExitSuccess : kExitFailure;
    case VerificationRun::Outcome::Stopped:
        return kExitFailure;
    case VerificationRun::Outcome::Cancelled:
        return kExitCancelled;
    case VerificationRun::Outcome::NoPlaylists:
        return kExitNoPlaylists;
    case VerificationRun::Outcome::DeviceGone:
    case VerificationRun::Outcome::NotWrittenBack:
        return kExitDeviceLost;
    }
    return kExitFailure;
}

}  // namespace

int RunVerify(const Arguments& arguments)
{
    const std::optional<VerifyRequest> request = ParseRequest(arguments);
    if (!request) {
        std::fprintf(stderr, "%s", kUsage);
        return kExitUsage;
    }
    const std::optional<char> letter = ResolveTarget(request->target);
    if (!letter) return kExitUsage;

    const bool interactive = isatty(STDIN_FILENO) != 0;
    const BadEntryHandling handling =
        request->handling.value_or(interactive ? BadEntryHandling::Ask : BadEntryHandling::KeepAll);
    TerminalUserInterface userInterface(false);
    TerminalReport report;
    trayhost::LibraryProfilerEngine engine;
    trayhost::VerificationFlags flags;

    std::printf("Verifying the user playlists of drive %c:\n", *letter);
    std::fflush(stdout);
    report.ShowStatus(trayhost::VerifyStatus::Scanning, {});
    CatchInterrupt(flags.cancel);
    VerificationRun run({engine, userInterface, report, flags});
    const VerificationRun::Outcome outcome = run.Run(*letter, OptionsFor(handling));
    ReleaseInterrupt();

    const std::string root{*letter, ':'};
    if (outcome != VerificationRun::Outcome::Cancelled) {
        report.ShowStatus(trayhost::FinalStatusOf(outcome), {});
    } else if (flags.cancel) {
        // Ctrl-C; a cancel answered to a question has shown its status already.
        std::fprintf(stderr, "Verification canceled.\n");
    }
    if (outcome == VerificationRun::Outcome::Stopped) {
        std::fprintf(stderr, "kovahdd: the verification stopped at a playlist that could not be read.\n");
    }
    if (outcome == VerificationRun::Outcome::DeviceGone && engine.IsDevicePresent(root)) {
        std::fprintf(stderr, "kovahdd: %c: has no kovahdd_playlists folder.\n", *letter);
    }
    if (outcome == VerificationRun::Outcome::NotWrittenBack) {
        std::fprintf(stderr, "kovahdd: %c: could not write back the changed playlists.\n", *letter);
    }
    const int status = ExitStatusFor(outcome, run.playlistsWithErrors());
    if (!flags.profileOffer) return status;
    if (!request->profileAfterwards) {
        std::fprintf(stderr,
                     "The user playlists changed: a profile of the device is advised, so that the player's "
                     "playlists match (kovahdd profile %c:, or --profile).\n",
                     *letter);
        return status;
    }
    const int profileStatus = ProfileDrive(*letter);
    return status != kExitSuccess ? status : profileStatus;
}

}  // namespace cli
