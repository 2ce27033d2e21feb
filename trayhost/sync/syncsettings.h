#pragma once

#include "trayhost/profilerengine.h"
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
    SyncRecordMap pcFiles;      // the PC tree as the current run found it; empty outside a run
    SyncRecordMap deviceFiles;  // the device tree as the current run found it
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

// Whether the item can be synchronised now; false means it is skipped. Trims the spaces around the
// item's two paths in place first (a later save keeps the trimmed text). Both paths must be set; the
// source must exist for a one-way option; both ways, two files must have the same name.
bool ValidateSyncItem(SyncSettings& settings, std::size_t index);

// The profile's device is attached and answers (the profiler engine's test).
bool IsSyncDevicePresent(const SyncSettings& settings, ProfilerEngine& engine);

}  // namespace trayhost
