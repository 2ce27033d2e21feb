#include "testsupport/devicetree.h"
#include "testsupport/scripteduserinterface.h"
#include "testsupport/userfolders.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/syncui/devicefolderbrowser.h"
#include "trayhost/syncui/newfolderdialog.h"
#include "trayhost/syncui/pcpathchooser.h"
#include "trayhost/syncui/synchelpviewer.h"
#include "trayhost/syncui/syncoptionsdialog.h"
#include "trayhost/syncui/syncpatheditor.h"
#include "trayhost/ui/windowimage.h"

#include <QApplication>

// Renders each KovaSync setup dialog, with sample content, into a PNG file of its own in the folder
// given (default: the current folder): syncui_<dialog>.png. Run it on the offscreen platform.
namespace {

// A small device with a few folders and songs, as drive E:.
void MakeSampleDevice(const testsupport::TemporaryDevice& device)
{
    for (const char* song : {"Music/Jazz/01 Blue Rooms.mp3", "Music/Jazz/02 Velvet.mp3", "Music/Jazz/cover.jpg",
                             "Music/Rock/01 Northern Pier.mp3", "Podcasts/Episode 12.mp3", "notes.txt"}) {
        device.WriteFile(song, "x");
    }
    for (const char* folder : {"Music/Jazz/Live", "Music/Classical", "kovahdd/sys_playlist", "kovahdd_playlists"}) {
        device.MakeFolder(folder);
    }
}

// Detection as the tray program would find the sample device: an HD jukebox at E:.
int32_t SampleDetection(KovaDetectionCallback callback, tagKOVAHDCONFLICTDIALOGINFO&, int32_t userData)
{
    callback('E', kModelHd, userData);
    return 1;
}

// A stored profile of two items, as the options dialog loads it.
void StoreSampleProfile(const testsupport::TemporaryDevice& pc)
{
    trayhost::SyncSettings settings;
    settings.deviceLetter = 'E';
    settings.option = trayhost::SyncOption::PcToDevice;
    settings.fileCleanup = true;
    for (const char* folder : {"Music", "Podcasts"}) {
        pc.MakeFolder(folder);
        settings.items.push_back({{}, {}, "P:\\" + std::string(folder), "E:\\" + std::string(folder)});
    }
    trayhost::SaveSyncSettings(settings);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    trayhost::WindowImageFolder images(argc, argv, QStringLiteral("syncui"));
    const testsupport::ScopedUserFolders userFolders;
    testsupport::TemporaryDevice device('E');
    MakeSampleDevice(device);
    const testsupport::TemporaryDevice pc('P');
    StoreSampleProfile(pc);
    testsupport::ScriptedUserInterface userInterface;

    trayhost::DeviceTable devices(&SampleDetection);
    trayhost::SyncSettings settings;
    auto* options = new trayhost::SyncOptionsDialog(
        {devices, userInterface, settings, nullptr, {}, std::nullopt, [] {}});
    images.Save(*options, "options");
    options->close();
    trayhost::PathEditorExchange exchange{"Vantor Kova MP3 Jukebox (E:)", "P:\\Music", "E:\\Music", 'E',
                                          trayhost::SyncOption::PcToDevice, 1};
    trayhost::SyncPathEditor editor(nullptr, exchange, userInterface);
    images.Save(editor, "path_editor");
    trayhost::DeviceFolderBrowser browser(nullptr, "E:\\Music\\Jazz", userInterface);
    images.Save(browser, "device_browser");
    trayhost::NewFolderDialog newFolder(nullptr, QStringLiteral("Folder 1"));
    images.Save(newFolder, "new_folder");
    trayhost::PcPathChooser chooser(nullptr, QString::fromStdString(device.LinuxPath("Music/Jazz/01 Blue Rooms.mp3")));
    images.Save(chooser, "pc_browser");
    trayhost::SyncOptionsHelpViewer help(std::string(KOVA_SYNC_HELP_FILE));
    images.Save(help, "help");
    return images.ExitCode();
}
