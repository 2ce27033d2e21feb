#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// File operations shared by the system and help file updates.
namespace engine {

// A path exists when it is not empty and the file system finds something by that name.
bool PathExists(const std::string& path);

// Removes the read-only attribute from every file (not folder) the path matches; '*' and '?' may
// stand in its last component. Best effort: what cannot be changed is left.
void ClearReadOnly(const std::string& path);

// Copies the installed file over the device's copy, making both writable first so that neither a
// read-only device file nor an attribute carried over from the installed file stands in the way.
// False when the copy failed.
bool ReplaceDeviceCopy(const std::string& installedPath, const std::string& devicePath);

// Writes back the file system of the drive ("%c:"), so that what an update copied is on the device
// once it says so. False when that fails.
bool FlushDevice(char drive);

// Up to size bytes from the start of the file: fewer when it is shorter, or when reading fails part
// way. Empty optional when the file cannot be opened.
std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& path, std::size_t size);

}  // namespace engine
