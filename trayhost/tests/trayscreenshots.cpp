#include "trayhost/detection/devicedetector.h"
#include "trayhost/detection/deviceidentity.h"
#include "trayhost/detection/tests/fakedetectionplatform.h"
#include "trayhost/devicetable.h"
#include "trayhost/resources/ids.h"
#include "trayhost/tests/fakedetection.h"
#include "trayhost/traymenumodel.h"
#include "trayhost/ui/aboutdialog.h"
#include "trayhost/ui/qtuserinterface.h"
#include "trayhost/ui/traymenu.h"
#include "trayhost/ui/windowimage.h"

#include <QAction>
#include <QApplication>

#include <sstream>

// Renders the windows of the tray shell, each into a PNG file of its own in the folder given
// (default: the current folder): tray_<window>.png. Run it on the offscreen platform.
namespace {

using namespace trayhost;

// The tray menu as it opens with these devices attached; with several, Profile's submenu of drives
// is open beside it.
void SaveTrayMenu(WindowImageFolder& images, std::vector<std::pair<char, uint8_t>> devices, const char* name)
{
    FakeDetection::Attach(std::move(devices));
    DeviceTable table(&FakeDetection::Enumerate);
    table.Rebuild("");
    TrayMenu menu([](uint32_t) {});
    menu.Rebuild(BuildTrayMenu(table));
    QAction* profile = menu.menu().findChild<QAction*>(QString::number(static_cast<uint32_t>(Command::Profile)));
    images.SaveMenu(menu.menu(), profile && profile->menu() ? profile : nullptr, name);
}

// Detection as on Windows Me, whose device records give drive E: both models: the Device Conflict
// dialog asks which one is attached.
void SaveDeviceConflict(WindowImageFolder& images, UserInterface& userInterface)
{
    testsupport::FakeDetectionPlatform platform;
    platform.version = WindowsVersion{kPlatformWin32Windows, 4, 90};
    platform.AddDrive('E', "", "");
    platform.registry->push_back({{{std::string(kDeviceDescHd), "E"}, {std::string(kDeviceDescPj), "E"}}});
    std::ostringstream trace;
    DeviceDetector detector(platform, trace);
    detector.SetUserInterface(&userInterface);
    images.SaveModals({"device_conflict"}, [&] { detector.EnumDevices(nullptr, 0); });
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    WindowImageFolder images(argc, argv, QStringLiteral("tray"));
    QtUserInterface userInterface({});

    AboutDialog about(nullptr);
    images.Save(about, "about");
    SaveTrayMenu(images, {{'E', kModelHd}}, "menu");
    SaveTrayMenu(images, {{'E', kModelHd}, {'G', kModelPj}}, "menu_drives");
    SaveDeviceConflict(images, userInterface);
    return images.ExitCode();
}
