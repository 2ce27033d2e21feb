#pragma once

#include "trayhost/profilerengine.h"
#include "trayhost/sync/syncfilesystem.h"
#include "trayhost/sync/syncrunview.h"
#include "trayhost/sync/syncsettings.h"
#include "trayhost/ui/userinterface.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trayhost {

// What a run did (a dry run: would do), counted.
struct SyncTally {
    int32_t copied = 0;      // files and new folders, source side to destination side
    int32_t copiedBack = 0;  // destination side to source side
    int32_t deleted = 0;     // files and folders
    int32_t conflicts = 0;
};

// What a run left alone, to be told at its end.
struct SyncProblems {
    // Folders that exist but could not be listed: nothing below their counterparts was deleted or
    // copied back, since what they hold is unknown.
    std::vector<std::string> unreadableFolders;
    // Entries whose names the run cannot hold (NameTheRunCanHold), on either side.
    std::vector<std::string> unholdableNames;
};

// The conflict dialog's state between its questions. The choice is kept from run to run; the
// apply-to-all flag is cleared at the end of every run.
struct SyncConflictMemory {
    SyncConflictChoice choice = SyncConflictChoice::PcOverwritesDevice;
    bool applyToAll = false;
};

// How a run ended, as the run driver tells it: tested in this order.
enum class SyncOutcome {
    Cancelled,        // Cancel, or Abort in the conflict dialog
    DeviceLost,
    DestinationFull,  // a copy met a full disk
    Completed,
};

// The synchronisation of a profile's items, one after another. For each item: the destination root
// is made, both trees are scanned, the first pass copies what is new or changed from the source side
// to the destination side (both ways, resolving conflicts, perhaps the other way round), and the
// second pass copies back what is only on the device (both ways) or deletes what has no source
// (clean-up); the records seen are then merged into the state map for the state file.
//
// Runs on the run's worker thread. The cancel flag is looked at before every entry of the scans
// and passes, and between the blocks of a copy.
class SyncRun {
public:
    struct Collaborators {
        SyncSettings& settings;
        SyncFileSystem& files;
        SyncRunView& view;
        UserInterface& userInterface;
        std::atomic<int32_t>& cancel;
        SyncConflictMemory& conflicts;
        ProfilerEngine& engine;  // whether the device is there
    };

    // A cancelled run waits this long before closing its dialog, or kAbortEndDelay after Abort.
    static constexpr std::chrono::milliseconds kCancelEndDelay{750};
    static constexpr std::chrono::milliseconds kAbortEndDelay{1500};
    static constexpr std::chrono::milliseconds kDeviceCheckInterval{100};

    explicit SyncRun(const Collaborators& collaborators);

    // Every item in turn, until a cancel or a lost device. A full destination does not stop the
    // loop: every later item stops at its first failing copy. False when the run ended because an
    // item's destination root could not be created: its message was shown and the dialog closed.
    bool SynchronizeItems();

    SyncOutcome outcome() const;
    std::chrono::milliseconds endDelay() const { return endDelay_; }
    const SyncTally& tally() const { return tally_; }
    const SyncProblems& problems() const { return problems_; }

private:
    struct Item;
    enum class Step { Next, Stop };
    enum class Decision { Skip, Copy, CopyBack, Conflict };

    bool SynchronizeItem(std::size_t index);
    bool PrepareDestination(const Item& item);
    void ScanBothSides(Item& item);
    void FirstPass(Item& item);
    Step SyncFolder(Item& item, const SyncFileRecord& source, const std::string& destination);
    Step SyncFile(Item& item, const SyncFileRecord& source, const std::string& destination);
    Decision Decide(const SyncFileRecord& source, const SyncFileRecord& destination) const;
    Decision ResolveConflict(const SyncFileRecord& source, const SyncFileRecord& destination);
    Step Copy(Item& item, const SyncCopy& copy, bool back);
    void SecondPass(Item& item);
    Step CopyBack(Item& item, const SyncFileRecord& unmatched);
    Step CleanUp(Item& item, const SyncFileRecord& unmatched);
    bool DeleteUnmatchedTree(const Item& item, const std::string& folder);
    void MergeIntoStateMap(const SyncItem& item);

    // Clears the read-only bit of the attributes, and of the file.
    Step ClearReadOnly(const std::string& path, uint32_t& attributes);
    // targetAttributes: the target's attributes when the caller has them.
    void CarryAttributes(const std::string& to, uint32_t from, std::optional<uint32_t> targetAttributes = {});
    void Deleted(const std::string& path);
    bool Stopping();
    bool DevicePresent() const;
    // Asked before every folder of the scans and every entry of the second pass: an answer from
    // within kDeviceCheckInterval counts, as the test costs as much as several entries do. A failed
    // operation always asks afresh.
    bool DevicePresentLately();

    Collaborators collaborators_;
    std::chrono::milliseconds endDelay_ = kCancelEndDelay;
    std::chrono::steady_clock::time_point deviceSeen_;
    bool diskFull_ = false;
    SyncTally tally_;
    SyncProblems problems_;
};

}  // namespace trayhost
