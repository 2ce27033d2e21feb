// Profiles a generated device of about 200,000 folder entries in two ways in one run: through the
// tray program's profile command, with its worker thread and its progress dialog (offscreen), and
// with `kovahdd profile`. Prints the best of three runs of each and their ratio: the dialog's
// progress must cost the run little.
// A device of more than 9999 songs gets no playlists (the player could not number them), so both
// runs are mostly the scan, where the progress is.

#include "bench/benchtools.h"

#include "platform/drivemap.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/profile/profiledialog.h"
#include "trayhost/ui/realclock.h"
#include "trayhost/ui/trayapplication.h"

#include <QApplication>
#include <QTimer>
#include <QLabel>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

// About 1.22 entries a song: its file, and an album folder with a cover for every ten songs.
constexpr int kDefaultAudioFiles = 164000;
constexpr int kPollMs = 10;
constexpr int kRounds = 3;

char deviceLetter = 0;

int32_t EnumerateTheDevice(KovaDetectionCallback callback, tagKOVAHDCONFLICTDIALOGINFO&, int32_t userData)
{
    callback(deviceLetter, 1, userData);
    return 1;
}

// In a child process: the tray program's profile of the device, until its worker has ended.
int ProfileInTray(const std::string& device)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "traybench";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    deviceLetter = platform::DriveMap::Instance().AssignFreeLetter(device);

    testsupport::ScriptedUserInterface userInterface;  // the playlists-left-out box is only recorded
    trayhost::LibraryProfilerEngine engine;
    trayhost::RealClock clock;
    std::ostringstream diagnostics;
    trayhost::TrayApplication tray({&EnumerateTheDevice, userInterface, diagnostics, [](int) {}, engine, clock});
    tray.devices().Rebuild("");
    tray.commands().Dispatch(static_cast<uint32_t>(trayhost::Command::Profile));

    // The dialog's state is read before the loop ends: ending it closes every window.
    bool finished = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (tray.profileWorkerRunning()) return;
        const auto* dialog = dynamic_cast<trayhost::ProfileDialog*>(tray.dialogs().Get(trayhost::DialogSlot::Profile));
        finished = dialog && dialog->state() == trayhost::ProfileProgress::State::Finished;
        QApplication::quit();
    });
    poll.start(kPollMs);
    QApplication::exec();
    std::printf("tray program: %s\n", finished ? "finished" : "did not finish");
    return finished ? 0 : 1;
}

bench::ChildRun Best(const bench::ChildRun& first, const bench::ChildRun& second)
{
    return {std::min(first.seconds, second.seconds), std::min(first.cpuSeconds, second.cpuSeconds),
            std::max(first.peakMiB, second.peakMiB)};
}

// In a child process: kovahdd profile DEVICE, its progress lines thrown away.
int ProfileWithTool(const std::string& device)
{
    const int nothing = open("/dev/null", O_WRONLY);
    dup2(nothing, STDOUT_FILENO);
    dup2(nothing, STDERR_FILENO);
    execl(KOVA_TOOL_PROGRAM, "kovahdd", "profile", device.c_str(), static_cast<char*>(nullptr));
    return 127;
}

}  // namespace

int main(int argc, char** argv)
{
    const int audioFiles = argc > 1 ? std::atoi(argv[1]) : kDefaultAudioFiles;
    const std::string device = bench::PreparedDevice(audioFiles);
    std::printf("%lld folder entries\n", static_cast<long long>(bench::BareWalk(device)));
    // A first profile brings the files' tags into the cache, the same warm cache for both.
    bench::RunInChild([&] { return ProfileWithTool(device); });

    // The best of a few runs of each, taken in turns, so that a burst of other work on a shared
    // machine weighs on neither alone.
    bench::ChildRun tray = bench::RunInChild([&] { return ProfileInTray(device); });
    bench::ChildRun tool = bench::RunInChild([&] { return ProfileWithTool(device); });
    for (int round = 1; round < kRounds; ++round) {
        tray = Best(tray, bench::RunInChild([&] { return ProfileInTray(device); }));
        tool = Best(tool, bench::RunInChild([&] { return ProfileWithTool(device); }));
    }
    bench::PrintComparison("tray program (offscreen dialog)", tray, "kovahdd profile", tool);
    return 0;
}
