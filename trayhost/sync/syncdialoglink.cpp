#include "trayhost/sync/syncdialoglink.h"

#include "trayhost/resources/ids.h"

namespace trayhost {

void SyncDialogLink::Notice(SyncNotice notice, const SyncCounts& counts)
{
    const auto number = static_cast<uintptr_t>(notice);
    if (IsPerEntryNotice(notice)) {
        // The message carries no counts: the dialog takes the latest from the mailbox. It waits as
        // progress, so that a newer one takes its place.
        mailbox_.Put(notice, counts);
        platform::PostMessage(dialog_, kSyncProgressMessage, number, 0);
        return;
    }
    mailbox_.Drop();
    Send(kSyncProgressMessage, number, reinterpret_cast<intptr_t>(&counts));
}

void SyncDialogLink::Close()
{
    Send(platform::kWmCommand, static_cast<uintptr_t>(kControlOk));
}

void SyncDialogLink::BringToFront()
{
    Send(kSyncBringToFrontMessage, 0);
}

void SyncDialogLink::ShowDone()
{
    Send(kSyncShowDoneMessage, 0);
}

void SyncDialogLink::PostComplete()
{
    platform::PostMessage(dialog_, kSyncProgressMessage, static_cast<uintptr_t>(SyncNotice::Complete), 0);
}

void SyncDialogLink::Send(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    platform::SendMessage(dialog_, message, wParam, lParam);
}

}  // namespace trayhost
