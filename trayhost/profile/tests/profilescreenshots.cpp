#include "engine/kovahddprofiler.h"
#include "platform/messages.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/profile/profiledialog.h"
#include "trayhost/resources/ids.h"
#include "trayhost/ui/qtuserinterface.h"
#include "trayhost/ui/realclock.h"
#include "trayhost/ui/windowimage.h"

#include <QApplication>

#include <array>

// Renders the profile dialog while a run counts the device's files, once it has finished, and once
// it has finished without playlists, each into a PNG file of its own in the folder given (default:
// the current folder): profile_<state>.png. Run it on the offscreen platform.
namespace {

using namespace trayhost;

// The engine's counters of a scan part way through a library of a few thousand songs: entries
// visited, entries in all.
constexpr std::array<int32_t, 2> kScanPartWay{1287, 2486};
constexpr std::array<int32_t, 2> kScanDone{2486, 2486};

void Report(const ProfileDialog& dialog, int32_t code, intptr_t value = 0)
{
    platform::SendMessage(dialog.handle(), kProfileProgressMessage, static_cast<uint32_t>(code), value);
}

void Report(const ProfileDialog& dialog, const std::array<int32_t, 2>& counters)
{
    Report(dialog, kReportScanProgress, reinterpret_cast<intptr_t>(counters.data()));
}

void EndRun(const ProfileDialog& dialog)
{
    platform::SendMessage(dialog.handle(), kProfileEngineStoppedMessage, 0, 1);
    platform::SendMessage(dialog.handle(), kProfileRunEndedMessage, 0, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    WindowImageFolder images(argc, argv, QStringLiteral("profile"));
    LibraryProfilerEngine engine;
    RealClock clock;
    QtUserInterface userInterface({});
    const ProfileDialog::Collaborators collaborators{engine, clock, userInterface, [] {}, [] {}};

    ProfileDialog running({'E', kModelHd}, collaborators);
    Report(running, kReportScanStarted);
    Report(running, kScanPartWay);
    images.Save(running, "running");
    running.hide();

    ProfileDialog finished({'G', kModelPj}, collaborators);
    Report(finished, kReportScanStarted);
    Report(finished, kScanDone);
    Report(finished, kReportPlaylistsStarted);
    Report(finished, kReportProfileFinished);
    EndRun(finished);
    images.Save(finished, "finished");
    finished.hide();

    // More songs than the player's playlists can number.
    ProfileDialog notWritten({'E', kModelHd}, collaborators);
    Report(notWritten, kReportScanStarted);
    Report(notWritten, kReportPlaylistsStarted);
    Report(notWritten, kReportPlaylistNotWritten, PlaylistReportValue(0, kPlaylistTooLargeForPlayer));
    Report(notWritten, kReportProfileFinished);
    EndRun(notWritten);
    images.Save(notWritten, "playlists_not_written");
    return images.ExitCode();
}
