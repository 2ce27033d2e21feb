#pragma once

#include "trayhost/sync/syncsettings.h"
#include "trayhost/ui/userinterface.h"

#include <string>

// The rules by which the path editor accepts a sync item, shared by the editor dialog and the
// command-line tool: each refusal is told through the user interface (warning icon) and names the
// field to put the focus on. Paths are Windows-style texts, as the profile stores them.
namespace trayhost {

// The editor field a refusal concerns.
enum class PathField {
    None,    // leave the focus where it is
    PcPath,
    DevicePath,
};

struct PathValidation {
    bool accepted = false;
    PathField focus = PathField::None;  // on refusal: the field to select and focus
};

// The device path put on the device's drive: a first character other than the letter (upper-cased
// when it is a lower-case letter) is replaced by the letter. False, and nothing done, for an empty path.
bool SetDeviceDriveLetter(char deviceLetter, std::string& path);

// Whether the pair may become an item of a profile with this device letter (0 = no device) and
// option: not the same path, on the right drives, both folders or both files, existing where the
// option needs it. Missing destination folders are offered for creation (a Yes/No question); a
// folder created stays even when a later rule refuses the pair.
PathValidation ValidateSyncPaths(UserInterface& ui, WindowHandle owner, char deviceLetter, SyncOption option,
                                 const std::string& pcPath, const std::string& devicePath);

// What the editor's OK button does with the two typed paths: trims them, asks for both (the device
// path only when there is a device), puts the device path on the device's drive, then
// ValidateSyncPaths. On acceptance pcPath and devicePath hold the paths to store.
PathValidation AcceptPathEditorEntry(UserInterface& ui, WindowHandle owner, char deviceLetter, SyncOption option,
                                     std::string& pcPath, std::string& devicePath);

}  // namespace trayhost
