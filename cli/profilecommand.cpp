// kovahdd profile TARGET: a profile run with the engine's progress on the terminal.

#include "cli/commands.h"
#include "cli/progressdisplay.h"
#include "cli/target.h"

#include "engine/kovahddprofiler.h"
#include "platform/messages.h"
#include "trayhost/profile/profilestatus.h"

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>

namespace cli {

namespace {

ProgressDisplay* activeDisplay = nullptr;

void ShowReport(int32_t code, intptr_t value)
{
    if (code == kReportPlaylistTooLarge) {
        activeDisplay->ShowStatus("Warning: " + trayhost::PlaylistNotWrittenText(static_cast<int32_t>(value)));
        return;
    }
    const std::optional<std::string> text = trayhost::ProfileStatusText(code, value);
    if (!text) return;
    if (code == kReportScanProgress) {
        const auto* counters = reinterpret_cast<const int32_t*>(value);
        activeDisplay->ShowProgress(counters[0], counters[1], *text);
    } else {
        activeDisplay->ShowStatus(*text);
    }
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
        return kExitSuccess;
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

}  // namespace

int RunProfile(const Arguments& arguments)
{
    if (arguments.size() != 1) {
        std::fprintf(stderr, "Usage: kovahdd profile TARGET\n");
        return kExitUsage;
    }
    std::string error;
    const std::optional<char> letter = ResolveTarget(arguments[0], error);
    if (!letter) {
        std::fprintf(stderr, "kovahdd: %s\n", error.c_str());
        return kExitUsage;
    }
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
    const int32_t result = KOVAHDDProfilerSyncronize(driveLetter, OnEngineReport, window);

    std::signal(SIGINT, SIG_DFL);
    platform::UnregisterWindow(window);
    display.Finish();
    activeDisplay = nullptr;
    if (result == 0) std::fprintf(stderr, "%s: %s\n", trayhost::kProfileFailedTitle, trayhost::kProfileFailedText);
    return ExitStatusFor(result);
}

}  // namespace cli
