#pragma once

#include "trayhost/sync/syncrunview.h"

#include <mutex>
#include <optional>

namespace trayhost {

// The latest per-entry notice of a run, on its way from the worker thread to the progress dialog.
// The worker leaves a notice for every entry, each replacing the one before; a message tells the
// dialog only when none is waiting already, and the dialog takes the latest when it is ready to show
// it. So a run over 200,000 files keeps at most one message in the dialog's queue.
class SyncProgressMailbox {
public:
    struct Entry {
        SyncNotice notice = SyncNotice::SyncingDevice;
        SyncCounts counts;
    };

    // Worker: keeps the notice in place of the one before. True when the caller must tell the
    // dialog (post a message): no message has been asked for since the dialog last took.
    bool Put(SyncNotice notice, const SyncCounts& counts);
    // Worker: drops a notice not yet taken, before a status notice that it must not overwrite. A
    // message already asked for still comes, and then finds nothing.
    void Drop();
    // Dialog: the latest notice, none when nothing was left since the last take. From now on the
    // next Put asks for a message again.
    std::optional<Entry> Take();

private:
    std::mutex mutex_;
    std::optional<Entry> latest_;
    bool messageAsked_ = false;
};

}  // namespace trayhost
