#include "testsupport/devicegenerator.h"
#include "testsupport/devicetree.h"
#include "trayhost/devicetable.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/ui/qtuserinterface.h"
#include "trayhost/ui/realclock.h"
#include "trayhost/ui/windowimage.h"
#include "trayhost/verify/verificationdialog.h"
#include "trayhost/verify/verificationdialoglink.h"
#include "trayhost/verify/verificationrun.h"

#include <QApplication>

// Renders the verification dialog as it checks a user playlist, and the File Not Found question for
// a missing song and for an entry with a control character, each into a PNG file of its own in the
// folder given (default: the current folder): verify_<window>.png. Run it on the offscreen platform.
namespace {

using namespace trayhost;

// A user playlist of the demo library with two bad entries: a song no longer on the device, and a
// name holding a TAB.
constexpr char kPlaylist[] =
    "#EXTM3U\r\n"
    "..\\Music\\The Lanterns\\Harbour Lights\\01 Northern Pier.mp3\r\n"
    "\\Music\\The Lanterns\\Small Hours\\05 Last Bus Home.mp3\r\n"
    "..\\Music\\Mira Okafor\\Blue Rooms\\01 Velvet.mp3\r\n"
    "..\\Music\\Mira Okafor\\Blue Rooms\\02\tSecond Floor.mp3\r\n";

// Detection as the tray program would find the demo device: an HD jukebox at E:.
int32_t DemoDetection(KovaDetectionCallback callback, tagKOVAHDCONFLICTDIALOGINFO&, int32_t userData)
{
    callback('E', kModelHd, userData);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    WindowImageFolder images(argc, argv, QStringLiteral("verify"));
    const testsupport::TemporaryDevice device('E');
    testsupport::GenerateDemoDevice(device.directory());
    device.WriteFile("kovahdd_playlists/Road Trip.m3u", kPlaylist);

    DeviceTable devices(&DemoDetection);
    devices.Rebuild("");
    LibraryProfilerEngine engine;
    RealClock clock;
    QtUserInterface userInterface({});
    VerificationFlags flags;
    VerificationDialog dialog(devices.entry(0), {flags, devices, clock, userInterface, [] {}, [] {}, [] {}});
    VerificationDialogLink link;
    link.SetDialog(dialog.handle());
    dialog.show();

    // The run as the worker makes it, here on the GUI thread: each question is answered with the
    // close box, which keeps the entry.
    VerificationRun run({engine, userInterface, link, flags});
    images.SaveModals({"file_not_found", "invalid_characters"}, [&] { run.Run('E'); });
    images.Save(dialog, "running");
    return images.ExitCode();
}
