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

// Renders the profile dialog while a run counts the device's files and once it has finished, each
// into a PNG file of its own in the folder given (default: the current folder): profile_<state>.png.
// Run it on the offscreen platform.
namespace {

using namespace trayhost;

// The engine's counters of a scan part way through a library of a few thousand songs: entries
// visited, entries in all.
constexpr std::array<int32_t, 2> kScanPartWay{1287, 2486};
constexpr std::array<int32_t, 2> kScanDone{2486, 2486};

void Report(const ProfileDialog& dialog, int32_t code, const std::array<int32_t, 2>* counters = nullptr)
{
    platform::SendMessage(dialog.handle(), kProfileProgressMessage, static_cast<uint32_t>(code),
                          reinterpret_cast<intptr_t>(counters));
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
    Report(running, kReportScanProgress, &kScanPartWay);
    images.Save(running, "running");
    running.hide();

    ProfileDialog finished({'G', kModelPj}, collaborators);
    Report(finished, kReportScanStarted);
    Report(finished, kReportScanProgress, &kScanDone);
    Report(finished, kReportPlaylistsStarted);
    Report(finished, kReportProfileFinished);
    platform::SendMessage(finished.handle(), kProfileEngineStoppedMessage, 0, 1);
    platform::SendMessage(finished.handle(), kProfileRunEndedMessage, 0, 0);
    images.Save(finished, "finished");
    return images.ExitCode();
}
