#pragma once

#include <string>

namespace trayhost {

// One thing a sync run could not do, told at its end: the tray program lists them in a message box
// after the run, kovahdd sync run on standard error (SyncProblemsText renders them for both).
struct SyncProblem {
    enum class Kind {
        ItemNotRun,        // an item that could not run at all: nothing was copied or deleted for it,
                           // and the state file keeps its records of the last run
        UnreadableFolder,  // exists but could not be listed: nothing below its counterpart was
                           // deleted or copied back
        NotCopied,         // a file or folder the run did not copy (skipped, or its copy failed)
        NotCleanedUp,      // a destination root whose clean-up was not confirmed: it keeps every
                           // file the source does not have
        LeftAlone,         // on the destination side, a name the run cannot address: neither
                           // deleted nor copied back
        StateNotSaved,     // the state file could not be written: the next run takes every file for new
    };

    Kind kind = Kind::NotCopied;
    std::string path;    // inside form ("E:\Music\a.mp3", "Z:\home\me\Music\a.mp3"); an item's root
    std::string reason;  // why, for the person; empty for UnreadableFolder

    bool operator==(const SyncProblem&) const = default;
};

}  // namespace trayhost
