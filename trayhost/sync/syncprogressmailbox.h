#pragma once

#include "trayhost/sync/syncrunview.h"

#include <mutex>
#include <optional>

namespace trayhost {

// The latest per-entry notice of a run, on its way from the worker thread to the progress dialog.
// The worker leaves one for every entry, each replacing the one before, and posts a progress message
// (which waits one at a time in the dialog's queue, QtMessageTarget); the dialog takes the latest
// when the message is handed to it.
class SyncProgressMailbox {
public:
    struct Entry {
        SyncNotice notice = SyncNotice::SyncingDevice;
        SyncCounts counts;
    };

    // Worker: keeps the notice in place of the one before.
    void Put(SyncNotice notice, const SyncCounts& counts);
    // Worker: drops a notice not yet taken, before a status notice that it must not overwrite.
    void Drop();
    // Dialog: the latest notice, none when nothing was left since the last take.
    std::optional<Entry> Take();

private:
    std::mutex mutex_;
    std::optional<Entry> latest_;
};

}  // namespace trayhost
