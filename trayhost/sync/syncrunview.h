#pragma once

#include "trayhost/ui/userinterface.h"

#include <cstdint>
#include <string>

namespace trayhost {

// The notices of a sync run to its progress dialog (message 1028, the notice in the first parameter).
enum class SyncNotice : uint32_t {
    SyncingDevice = 0,    // first pass, per source entry: counts and the destination path
    Cancelled = 1,        // posted by the dialog itself when Cancel is pressed
    DeviceLost = 2,       // run end
    Initializing = 3,     // run start
    Deleting = 4,         // clean-up, per entry: counts
    SyncingPc = 5,        // copy back to the PC, per entry: counts
    AcquiringInfo = 6,    // start of each item: item number and count
    Aborted = 7,          // Abort in the conflict dialog
    Finished = 8,         // run end, success
    CleaningUp = 9,       // the state file is being written
    Complete = 10,        // posted after Finished
    DestinationFull = 11, // run end, a copy met a full disk
};

// The counts a notice shows (1-based current, total) and, for SyncingDevice, the path.
struct SyncCounts {
    int32_t current = 0;
    int32_t total = 0;
    std::string path;
};

// The notices sent for every entry of a pass: many thousands in a run.
inline bool IsPerEntryNotice(SyncNotice notice)
{
    return notice == SyncNotice::SyncingDevice || notice == SyncNotice::Deleting || notice == SyncNotice::SyncingPc;
}

// One thing a run does to the files, as a dry run lists it.
struct SyncAction {
    enum class Kind {
        Copy,      // source side to destination side; a new folder counts as its copy
        CopyBack,  // destination side to source side: both ways, a file only on the device or a conflict
                   // resolved for the device's file
        Delete,    // clean-up on the destination side
        Conflict,  // both ways: a file changed on both sides, or different on each
        CannotCopy,  // a copy the run leaves out (a dry run: foresees), or that failed
    };
    Kind kind = Kind::Copy;
    // Copy, CopyBack, CannotCopy: the file copied; Conflict: the PC file; Delete: the path deleted.
    std::string from;
    std::string to;      // Copy, CopyBack, CannotCopy: the file written; Conflict: the device file
    std::string reason;  // CannotCopy: why
};

// What a sync run shows as it goes: its progress dialog in the tray program, the terminal in the
// command-line tool. Called on the run's thread.
class SyncRunView {
public:
    virtual ~SyncRunView() = default;

    // A per-entry notice may be shown late, or replaced by a newer one before it is shown; every
    // other notice is shown before the call returns.
    virtual void Notice(SyncNotice notice, const SyncCounts& counts = {}) = 0;
    // Each copy (as it starts), deletion and conflict, as it happens (a dry run: as it would).
    virtual void Performed(const SyncAction& action) = 0;
    // The window that owns the run's message boxes and its conflict questions; may be null.
    virtual WindowHandle owner() const = 0;
    // Closes the progress dialog (command 1): the run ends without showing an outcome.
    virtual void Close() = 0;
};

}  // namespace trayhost
