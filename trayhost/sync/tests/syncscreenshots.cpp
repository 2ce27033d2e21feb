#include "trayhost/resources/ids.h"
#include "trayhost/sync/syncconflictdialog.h"
#include "trayhost/sync/syncprogressdialog.h"
#include "trayhost/ui/qtuserinterface.h"
#include "trayhost/ui/realclock.h"
#include "trayhost/ui/windowimage.h"

#include <QApplication>

// Renders the sync progress dialog as a run copies a song to the device, and the Resolve Sync
// Conflict question, each into a PNG file of its own in the folder given (default: the current
// folder): sync_<window>.png. Run it on the offscreen platform.
namespace {

using namespace trayhost;

void Notify(const SyncProgressDialog& dialog, SyncNotice notice, const SyncCounts& counts)
{
    platform::SendMessage(dialog.handle(), kSyncProgressMessage, static_cast<uintptr_t>(notice),
                          reinterpret_cast<intptr_t>(&counts));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    WindowImageFolder images(argc, argv, QStringLiteral("sync"));
    RealClock clock;
    QtUserInterface userInterface({});
    SyncProgressMailbox mailbox;
    std::atomic<int32_t> cancel{0};
    SyncSettings settings;
    settings.option = SyncOption::PcToDevice;

    // The first of two items, the PC's music folder, on its way to the device.
    SyncProgressDialog progress({'E', kModelHd}, {clock, userInterface, mailbox, cancel, settings, [](char) {}, [] {}});
    Notify(progress, SyncNotice::Initializing, {});
    Notify(progress, SyncNotice::AcquiringInfo, {1, 2, {}});
    Notify(progress, SyncNotice::SyncingDevice,
           {7, 17, "E:\\Music\\The Lanterns\\Harbour Lights\\03 Lighthouse.mp3"});
    images.Save(progress, "progress");

    // Both ways, a song changed on the PC and on the device since the last run.
    SyncConflictDialog conflict({"Z:\\home\\me\\Music\\The Lanterns\\Harbour Lights\\03 Lighthouse.mp3",
                                 "E:\\Music\\The Lanterns\\Harbour Lights\\03 Lighthouse.mp3",
                                 SyncConflictChoice::PcOverwritesDevice},
                                nullptr);
    images.SaveModals({"conflict"}, [&] { conflict.Ask(); });
    return images.ExitCode();
}
