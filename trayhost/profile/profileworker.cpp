#include "trayhost/profile/profileworker.h"

#include "trayhost/profile/profiledialoglink.h"
#include "trayhost/profile/profilestatus.h"
#include "trayhost/profile/runwarnings.h"
#include "trayhost/resources/strings.h"

#include <optional>
#include <vector>

namespace trayhost {

namespace {

// The engine calls back on the worker thread, without user data: each worker keeps its own list.
thread_local std::vector<int32_t> playlistsNotWritten;

}  // namespace

ProfileWorker::ProfileWorker(ProfilerEngine& engine, UserInterface& userInterface, Clock& clock)
    : engine_(engine), userInterface_(userInterface), clock_(clock)
{
}

void ProfileWorker::Run(char driveLetter)
{
    playlistsNotWritten.clear();
    const std::optional<int32_t> result = RunEngine(driveLetter);
    SendProfileEngineStopped(result.value_or(kProfileRunFailed));
    if (result == kProfileRunCancelled) {
        clock_.Pause(kCloseDelay);
        SendProfileClose();
        WarnOfWhatThePlayerLacks();
        return;
    }
    TellWhatWentWrong(result);
    WarnOfWhatThePlayerLacks();
    // Done, and the dialog in front, once every message has been read: the dialog does not stand
    // for a finished run before the messages about that run. Left with Cancel after an exception,
    // the dialog could only be closed by the watchdog ending the program.
    SendProfileRunEnded();
}

std::optional<int32_t> ProfileWorker::RunEngine(char driveLetter)
{
    try {
        return engine_.Synchronize(driveLetter, &OnEngineReport, ProfileDialogHandle());
    } catch (...) {
        return std::nullopt;
    }
}

void ProfileWorker::OnEngineReport(int32_t code, int32_t value)
{
    if (code == kReportPlaylistNotWritten) playlistsNotWritten.push_back(value);
    PostProfileReport(code, value);
}

void ProfileWorker::TellWhatWentWrong(std::optional<int32_t> result)
{
    if (!result) {
        userInterface_.MessageBox(nullptr, kProfileExceptionText, kProfileExceptionTitle,
                                  kMbOk | kMbIconExclamation);
    } else if (*result == kProfileRunFailed) {
        userInterface_.MessageBox(nullptr, kProfileFailedText, kProfileFailedTitle, kMbOk | kMbIconExclamation);
        PostProfileReport(kReportConnectionFailed, 0);
    }
}

void ProfileWorker::WarnOfWhatThePlayerLacks()
{
    std::string text = PlaylistsNotWrittenText(playlistsNotWritten);
    const std::string unaddressable = UnaddressableFilesText(engine_.RunSummary().unaddressableFiles);
    if (!unaddressable.empty()) text += (text.empty() ? "" : "\n") + unaddressable;
    if (text.empty()) return;
    userInterface_.MessageBox(nullptr, text, kProfileTitle, kMbOk | kMbIconExclamation);
}

}  // namespace trayhost
