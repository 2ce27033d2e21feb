#pragma once

#include "trayhost/profilerengine.h"
#include "trayhost/sync/syncproblem.h"
#include "trayhost/sync/syncrecordmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trayhost {

// The copy direction of a sync profile, as the registry stores it.
enum class SyncOption : int32_t {
    Invalid = -1,    // a stored value other than the three below: no run starts with it
    SyncBoth = 0,    // both ways; the PC is the source side
    PcToDevice = 1,  // the PC path is the source, the device path the destination
    DeviceToPc = 2,  // the device path is the source, the PC path the destination
};

// One path pair of the profile. Both paths name folders or both name files (TypesOfItemPaths).
struct SyncItem {
    // The PC tree as the current run found it (an item that could not run: as the last run did);
    // empty outside a run.
    SyncRecordMap pcFiles;
    SyncRecordMap deviceFiles;  // the device tree, the same way
    std::string pcPath;         // full path with a drive letter, at most 260 characters
    std::string devicePath;     // full path beginning with the device's letter, ":" and "\"
};

// The sync profile ("KovaSync"): one for the program, not one per device. The registry is its master
// copy (LoadSyncSettings, SaveSyncSettings); the members start with a fresh machine's values.
struct SyncSettings {
    SyncOption option = SyncOption::PcToDevice;
    char deviceLetter = 0;         // the device the profile is for; 0 = none chosen
    bool fileCleanup = false;      // PcToDevice, DeviceToPc: delete destination entries without a source
    bool profileAfterSync = true;  // profile the device after a successful run
    SyncRecordMap stateMap;        // the records of the last completed run (the state file)
    std::vector<SyncItem> items;   // in the order shown to the user
};

// Frees every item with its record maps.
void ClearSyncItems(SyncSettings& settings);

// The root the item is copied from under the profile's option: the device path with DeviceToPc,
// else the PC path. Empty optional when there is no item at index.
std::optional<std::string> SourceRoot(const SyncSettings& settings, std::size_t index);
// The other root of the item.
std::optional<std::string> DestinationRoot(const SyncSettings& settings, std::size_t index);

// Whether the item at index (below the item count) can be synchronised now: empty when it can, else
// the ItemNotRun problem that tells why not. Trims the spaces around the item's two paths in place
// first (a later save keeps the trimmed text). Both paths must be set. The source must exist: one
// way the source root; both ways the PC path, unless it names a file whose device file is there to
// be copied back. A file is only paired with a file (TypesOfItemPaths), and both ways with a file of
// the same name.
std::optional<SyncProblem> ValidateSyncItem(SyncSettings& settings, std::size_t index);

// The profile's device is attached and answers (the profiler engine's test).
bool IsSyncDevicePresent(const SyncSettings& settings, ProfilerEngine& engine);

}  // namespace trayhost
