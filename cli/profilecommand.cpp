// kovahdd profile TARGET [--full]: a profile run with the engine's progress on the terminal.

#include "cli/commands.h"
#include "cli/progressdisplay.h"
#include "cli/target.h"

#include "engine/kovahddprofiler.h"
#include "platform/messages.h"
#include "trayhost/profile/profilestatus.h"
#include "trayhost/profile/runwarnings.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

namespace {

// Reads every song's tags and writes the device's tag cache anew.
constexpr std::string_view kFullFlag = "--full";

// How many of the player's unaddressable songs are named on the terminal.
constexpr int kNamesShown = 3;

ProgressDisplay* activeDisplay = nullptr;
// The values of the run's code 9 reports: the playlists not put on the device, and why.
std::vector<int32_t> playlistsNotWritten;

void ShowReport(int32_t code, intptr_t value)
{
    if (code == kReportPlaylistNotWritten) {
        playlistsNotWritten.push_back(static_cast<int32_t>(value));
        return;
    }
    if (code == kReportScanProgress) {
        const auto* counters = reinterpret_cast<const int32_t*>(value);
        if (!activeDisplay->IsDue(counters[0], counters[1])) return;
        activeDisplay->ShowProgress(counters[0], counters[1], *trayhost::ProfileStatusText(code, value));
        return;
    }
    if (const std::optional<std::string> text = trayhost::ProfileStatusText(code, value)) activeDisplay->ShowStatus(*text);
}

void OnEngineReport(int32_t code, int32_t value)
{
    ShowReport(code, value);
}

// The engine runs on this thread, so what it posts can be shown at once.
class ScanProgressWindow : public platform::MessageTarget {
public:
    void Post(const platform::WindowMessage& message) override
    {
        if (message.message == kProfileProgressMessage) ShowReport(static_cast<int32_t>(message.wParam), message.lParam);
    }
    intptr_t Send(const platform::WindowMessage& message) override
    {
        Post(message);
        return 0;
    }
};

// The first Ctrl-C asks the engine to stop at its next check; a second one ends the program.
void OnInterrupt(int)
{
    KOVAHDDProfilerCancelSyncronize();
    std::signal(SIGINT, SIG_DFL);
}

int ExitStatusFor(int32_t result)
{
    switch (result) {
    case 1:
        return trayhost::AnyPlaylistFailed(playlistsNotWritten) ? kExitPlaylistsNotWritten : kExitSuccess;
    case -1:
        return kExitCancelled;
    case -2:
        return kExitNoAudioFiles;
    case 0:
        return kExitFailure;
    default:
        return kExitDeviceLost;
    }
}

// "1 track", "2 tracks".
std::string Counted(int32_t count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string PlaylistNames(int32_t written)
{
    static constexpr std::pair<int32_t, const char*> kNames[] = {
        {0, "artist"}, {1, "album"}, {2, "title"}, {3, "genre"}, {5, "audio files"}};
    std::string names;
    for (const auto& [kind, name] : kNames) {
        if ((written & (1 << kind)) == 0) continue;
        if (!names.empty()) names += ", ";
        names += name;
    }
    return names;
}

// One line of what the player will show, then the warnings of the run.
void PrintOutcome()
{
    KovaRunSummary summary{};
    KOVAHDDProfilerGetRunSummary(&summary);
    if (summary.playlistsWritten == 0) {
        std::printf("No playlist was written; the player shows its previous ones.\n");
    } else {
        std::printf("The player will show %s, %s, %s and %s (playlists written: %s).\n",
                    Counted(summary.tracks, "track").c_str(), Counted(summary.artists, "artist").c_str(),
                    Counted(summary.albums, "album").c_str(), Counted(summary.genres, "genre").c_str(),
                    PlaylistNames(summary.playlistsWritten).c_str());
    }
    std::fflush(stdout);
    const std::string notWritten = trayhost::PlaylistsNotWrittenText(playlistsNotWritten);
    if (!notWritten.empty()) std::fprintf(stderr, "Warning: %s\n", notWritten.c_str());
    if (summary.unaddressableFiles == 0) return;
    std::fprintf(stderr, "Warning: %s\n", trayhost::UnaddressableFilesText(summary.unaddressableFiles).c_str());
    const int shown = std::min({summary.unaddressableFiles, kNamesShown, kKovaSummaryNames});
    for (int i = 0; i < shown; ++i) std::fprintf(stderr, "  %s\n", summary.unaddressableNames[i]);
    if (summary.unaddressableFiles > shown) std::fprintf(stderr, "  and %d more\n", summary.unaddressableFiles - shown);
}

struct ProfileRequest {
    std::string target;
    bool readEveryFile = false;
};

std::optional<ProfileRequest> ParseRequest(const Arguments& arguments)
{
    ProfileRequest request;
    bool haveTarget = false;
    for (const std::string& argument : arguments) {
        if (argument == kFullFlag && !request.readEveryFile) {
            request.readEveryFile = true;
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

}  // namespace

int RunProfile(const Arguments& arguments)
{
    const std::optional<ProfileRequest> request = ParseRequest(arguments);
    if (!request) {
        std::fprintf(stderr, "Usage: kovahdd profile TARGET [--full]\n");
        return kExitUsage;
    }
    const std::optional<char> letter = ResolveTarget(request->target);
    if (!letter) return kExitUsage;
    KOVAHDDProfilerUseTagCache(request->readEveryFile ? 0 : 1);
    return ProfileDrive(*letter);
}

int ProfileDrive(char driveLetter)
{
    ProgressDisplay display(stderr);
    activeDisplay = &display;
    ScanProgressWindow progressWindow;
    platform::WindowHandle window = platform::RegisterWindow(&progressWindow);
    std::signal(SIGINT, OnInterrupt);

    std::printf("Profiling drive %c:\n", driveLetter);
    std::fflush(stdout);
    playlistsNotWritten.clear();
    const int32_t result = KOVAHDDProfilerSyncronize(driveLetter, OnEngineReport, window);

    std::signal(SIGINT, SIG_DFL);
    platform::UnregisterWindow(window);
    display.Finish();
    activeDisplay = nullptr;
    if (result == 0) std::fprintf(stderr, "%s: %s\n", trayhost::kProfileFailedTitle, trayhost::kProfileFailedText);
    if (result == 1) PrintOutcome();
    return ExitStatusFor(result);
}

}  // namespace cli
