#pragma once

#include <cstdint>
#include <string>

// Brings the player's system programs on a device up to the copies installed with the PC program.
namespace engine {

enum SystemUpdateResult : int32_t {
    kSystemFilesUpdated = 1,      // every file is current or was copied
    kDeviceSystemFilesNewer = 2,  // a device file carries a higher version than its installed copy and was left alone
    kSystemFileCopyFailed = 0,    // a file that needed replacing could not be copied, or the device
                                  // could not write back what was copied
    kSystemFolderFailed = -4,     // "kovahdd" or "kovahdd_playlists" cannot be created
};

enum class SystemFileOutcome {
    Kept,         // current already, or no acceptable installed copy
    Copied,
    CopyFailed,
    DeviceNewer,  // the device's copy has the higher version
};

// Makes sure the device has its "kovahdd_playlists" folder and its hidden "kovahdd" folder, then
// updates "config.exe", "mp3.exe", "usi.exe" and "pfr.exe" in that order, and writes back the
// device's file system. Model 1 (the HD model) takes the installed copies from "VANTOR", any other
// model from "CORVANE".
int32_t UpdateSystemFiles(char drive, unsigned char model);

// Replaces the device's copy of one system file when the installed copy should replace it: the
// device has none, or one that cannot be read, has no proper header or names another file, or a
// lower version, or another identifier. An installed copy that is missing, unreadable, or whose
// header is short or names another file is never put on the device.
SystemFileOutcome UpdateSystemFile(unsigned char model, const std::string& deviceFolder, const std::string& name);

}  // namespace engine
