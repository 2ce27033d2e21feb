#pragma once

// Where the sync profile lives in the registry, below HKEY_LOCAL_MACHINE. Each setting is the
// default value of a key of its own.
namespace trayhost {

inline constexpr const char* kSyncProfileKey = "Software\\Corvane multimedia\\KovaSync";
// One subkey per item, named by its index in decimal, whose default value is that index (REG_DWORD).
inline constexpr const char* kSyncPathsKey = "SyncPaths";
inline constexpr const char* kPcPathValue = "PC";          // REG_SZ
inline constexpr const char* kDevicePathValue = "Device";  // REG_SZ
inline constexpr const char* kOptionKey = "Options";       // REG_DWORD
inline constexpr const char* kDeviceLetterKey = "DeviceID";  // REG_DWORD with a data length of 1: the letter
inline constexpr const char* kFileCleanupKey = "FileCleanup";  // REG_DWORD
inline constexpr const char* kProfileAfterSyncKey = "SyncProfile";  // REG_DWORD

}  // namespace trayhost
