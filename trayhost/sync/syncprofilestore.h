#pragma once

#include "trayhost/sync/syncsettings.h"

// The sync profile in the registry (trayhost/sync/syncregistrykeys.h). Each call is one registry
// transaction; a caller that reads, changes and saves the profile wraps the three in one
// platform::RegistryTransaction, so that no other program's save comes in between.
namespace trayhost {

// Replaces the settings with the stored profile. Without a stored profile nothing changes. A stored
// setting that is missing keeps its field; one that cannot be read or is out of range takes its
// fallback: option Invalid, no device letter, flags off, an empty path. Items come back in the
// order they were saved in.
void LoadSyncSettings(SyncSettings& settings);

// Stores the settings: the items replace the stored ones; without a device letter the stored one
// stays. False when the profile's key cannot be created or the registry file cannot be written.
bool SaveSyncSettings(const SyncSettings& settings);

}  // namespace trayhost
