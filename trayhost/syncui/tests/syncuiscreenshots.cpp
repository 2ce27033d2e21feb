#include "testsupport/devicetree.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/syncui/devicefolderbrowser.h"
#include "trayhost/syncui/newfolderdialog.h"
#include "trayhost/syncui/pcpathchooser.h"
#include "trayhost/syncui/synchelpviewer.h"
#include "trayhost/ui/windowimage.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

// Renders each KovaSync setup dialog, with sample content, into a PNG file of its own in the folder
// given (default: the current folder): syncui_<dialog>.png. Run it on the offscreen platform.
namespace {

using trayhost::SaveWindowImage;

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

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    if (!folder.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    testsupport::TemporaryDevice device('E');
    MakeSampleDevice(device);
    testsupport::ScriptedUserInterface userInterface;
    bool written = true;
    const auto save = [&](QWidget& window, const char* name) {
        const QString path = folder.filePath(QStringLiteral("syncui_%1.png").arg(QLatin1String(name)));
        written = SaveWindowImage(window, path) && written;
    };

    trayhost::DeviceFolderBrowser browser(nullptr, "E:\\Music\\Jazz", userInterface);
    save(browser, "device_browser");
    trayhost::NewFolderDialog newFolder(nullptr, QStringLiteral("Folder 1"));
    save(newFolder, "new_folder");
    trayhost::PcPathChooser chooser(nullptr, QString::fromStdString(device.LinuxPath("Music/Jazz")));
    save(chooser, "pc_browser");
    trayhost::SyncOptionsHelpViewer help(std::string(KOVA_SYNC_HELP_FILE));
    save(help, "help");
    return written ? 0 : 1;
}
