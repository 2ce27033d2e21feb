#include "trayhost/sync/syncprogressmailbox.h"

#include <utility>

namespace trayhost {

void SyncProgressMailbox::Put(SyncNotice notice, const SyncCounts& counts)
{
    std::lock_guard lock(mutex_);
    latest_ = Entry{notice, counts};
}

void SyncProgressMailbox::Drop()
{
    std::lock_guard lock(mutex_);
    latest_.reset();
}

std::optional<SyncProgressMailbox::Entry> SyncProgressMailbox::Take()
{
    std::lock_guard lock(mutex_);
    return std::exchange(latest_, std::nullopt);
}

}  // namespace trayhost
