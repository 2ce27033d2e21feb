#pragma once

#include <cstdint>
#include <string>

// Brings the player's help files on a device up to the copies installed with the PC program.
namespace engine {

enum HelpUpdateResult : int32_t {
    kHelpFilesUpdated = 1,
    kHelpFileFailed = 0,         // "sys_help" cannot be created, a help file could not be handled,
                                 // or the device could not write back what was copied
    kHelpDeviceFolderFailed = -4,  // "kovahdd" cannot be created
};

// Makes sure the device has its hidden "kovahdd" folder and the "sys_help" folder inside it, then
// updates the help files named by the engine's strings 301 to 303 ("%s_help.bin"), going on past
// a file that fails, and writes back the device's file system.
int32_t UpdateHelpFiles(char drive);

// Replaces the device's copy of one help file when the device has none, or one that cannot be read,
// is shorter than a header or has no valid header, or is not newer than the installed copy (whole
// seconds). 1 when the file is current or was copied; 0 when the installed copy is missing or
// shorter than a header, or the copy failed. An installed copy without a valid header is never
// put on the device (1).
int32_t UpdateHelpFile(const std::string& deviceFolder, const std::string& name);

}  // namespace engine
