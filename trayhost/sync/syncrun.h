#pragma once

#include "trayhost/profilerengine.h"
#include "trayhost/sync/syncfilesystem.h"
#include "trayhost/sync/syncproblem.h"
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

// The conflict dialog's state between its questions. The choice is kept from run to run; the
// apply-to-all flag is cleared at the end of every run.
struct SyncConflictMemory {
    SyncConflictChoice choice = SyncConflictChoice::PcOverwritesDevice;
    bool applyToAll = false;
};

// How a run ended, as the run driver tells it: tested in this order.
enum class SyncOutcome {
    Cancelled,        // Cancel, or Abort in the conflict dialog
    DeviceLost,       // also a device whose file system could not write back what the run wrote
    DestinationFull,  // a copy met a full disk
    Completed,        // perhaps with problems to tell
};

// The synchronisation of a profile's items, one after another. For each item: the destination root
// is made, both trees are scanned, the first pass copies what is new or changed from the source side
// to the destination side (both ways, resolving conflicts, perhaps the other way round), and the
// second pass copies back what is only on the device (both ways) or deletes what has no source
// (clean-up); the records seen are then merged into the state map for the state file. Copies are
// finished in batches (SyncFileSystem::StartCopy), at the latest at the end of each pass. What the
// run could not do it keeps as problems, to be told at its end: a file it does not copy is passed
// by, never taken for copied. Once the items are done, the device's file system writes back
// everything, so that the run's outcome holds once the device is unplugged.
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

    // Every item in turn, until a cancel or a lost device, then the flush of the device. A full
    // destination does not stop the loop: every later item stops at its first failing copy. False
    // when the run ended because an item's destination root could not be created: its message was
    // shown and the dialog closed.
    bool SynchronizeItems();

    SyncOutcome outcome() const;
    std::chrono::milliseconds endDelay() const { return endDelay_; }
    const SyncTally& tally() const { return tally_; }
    // In the order met.
    const std::vector<SyncProblem>& problems() const { return problems_; }

private:
    struct Item;
    enum class Step { Next, Stop };
    enum class Decision { Skip, Copy, CopyBack, Conflict };
    // A copy started and not finished yet; back: from the destination side to the source side.
    struct StartedCopy {
        SyncCopy copy;
        bool back = false;
    };

    bool SynchronizeItem(std::size_t index);
    void NotRun(SyncItem& item, SyncProblem problem);
    bool PrepareDestination(const Item& item);
    // False when the source root could not be listed.
    bool ScanBothSides(Item& item);
    void RemoveLeftoverTemporaries(const std::vector<std::string>& paths);
    void FirstPass(Item& item);
    Step SyncFolder(Item& item, const SyncFileRecord& source, const std::string& destination);
    Step SyncFile(Item& item, const SyncFileRecord& source, const std::string& destination);
    Decision Decide(const SyncFileRecord& source, const SyncFileRecord& destination) const;
    Decision ResolveConflict(const SyncFileRecord& source, const SyncFileRecord& destination);
    // from: the record of the file copied.
    Step Copy(Item& item, const SyncCopy& copy, const SyncFileRecord& from, bool back);
    Step FinishCopies(Item& item);
    void Copied(Item& item, const StartedCopy& started, const std::optional<SyncFileStatus>& status);
    Step CopyFailed(const SyncCopy& copy, uint32_t error);
    void NotCopied(const SyncCopy& copy, std::string reason);
    std::size_t CleanableFiles(const Item& item) const;
    bool SecondPassWanted(const Item& item, std::size_t cleanableFiles);
    bool CleanUpConfirmed(const Item& item, std::size_t cleanableFiles);
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
    void FlushDevice();
    bool OnDevice(const std::string& path) const;
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
    bool flushFailed_ = false;
    std::vector<StartedCopy> started_;
    SyncTally tally_;
    std::vector<SyncProblem> problems_;
};

}  // namespace trayhost
