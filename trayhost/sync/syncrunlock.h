#pragma once

#include "platform/exclusivefilelock.h"

#include <optional>

namespace trayhost {

// One synchronisation of the user's profile at a time, whichever program runs it: the tray
// program's run and kovahdd sync run hold a lock on a file beside the state file while they run.
// Two runs at once would copy the same files into each other's way.
class SyncRunLock {
public:
    // Empty when another run holds the lock. A lock file that cannot be made (no state folder)
    // keeps no run from going: the state file cannot be saved there either, which the run tells.
    static std::optional<SyncRunLock> Take();

private:
    std::optional<platform::ExclusiveFileLock> lock_;
};

}  // namespace trayhost
