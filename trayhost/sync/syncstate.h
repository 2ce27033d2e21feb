#pragma once

#include "trayhost/sync/syncproblem.h"
#include "trayhost/sync/syncsettings.h"

#include <string>
#include <string_view>

// The sync state file "KovaSyncInfo.bin": the records of the last successful run, which the next
// run compares its trees with to see what changed. One per user, in $XDG_STATE_HOME/kovahdd/, shared
// by the tray program and kovahdd.
//
// All integers 32-bit little-endian; no magic number, no version:
//   offset 0   record count
//   offset 4   the records, one after another:
//     +0   record length: the bytes after this field, name length + 20
//     +4   name length: path bytes, at most 260
//     +8   path, in the system code page, no NUL
//     +8 + name length    modification time (signed seconds since 1970 UTC)
//     +12 + name length   size
//     +16 + name length   changed flag (0 in every file written here)
//     +20 + name length   folder flag
namespace trayhost {

// The Linux path of the state file; empty when the user has no home to keep it in.
std::string SyncStateFilePath();

// Replaces the records with those of the file's bytes. False, and the records untouched, when the
// bytes are too short to hold a record count. Reading stops early, keeping what it read, at the end
// of the bytes or at a corrupt record (a record length below its name length + 20, or above 280);
// of two records of one path the later wins.
bool ParseSyncState(std::string_view bytes, SyncRecordMap& records);

// The file's bytes for the records of the settings' stateMap that belong to its items: those whose
// keys are in an item's pcFiles or deviceFiles. Records of other paths are dropped from the file.
std::string FormatSyncState(const SyncSettings& settings);

// Reads the state file into settings.stateMap; false when there is no usable file (the map then
// keeps what it held).
bool ReadSyncState(SyncSettings& settings);
// Replaces the state file with FormatSyncState, through a temporary file, so that a full disk or a
// crash leaves the previous state whole; false, with the last error set, when that fails.
bool WriteSyncState(const SyncSettings& settings);
// What a run tells when WriteSyncState failed: the file and the reason its last error gives.
SyncProblem StateNotSavedProblem();

}  // namespace trayhost
