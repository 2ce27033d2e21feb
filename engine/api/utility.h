#pragma once

#include <cstdint>

// The small operations the whole engine shares: the extension of a path, and whether a device is there.
namespace engine {

// Copies everything after the last '.' of the path into extension; 0 when there is no dot
// (extension is then untouched). The dot may lie in a folder name.
int32_t GetFileExtension(const char* path, char* extension);

// 1 when the root can be listed and its free space read, else 0.
int32_t IsDevicePresent(const char* root);

}  // namespace engine
