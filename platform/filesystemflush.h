#pragma once

#include "platform/export.h"

#include <cstdint>
#include <functional>
#include <string>

// Writes back what a file system keeps in memory, so that a device unplugged after an operation has
// said it is done holds everything written to it.
namespace platform {

// syncfs on the file system holding the Windows path (a device's root, "E:\"). False, with the last
// error set, when the path cannot be found or the file system could not write everything back (a
// device that went away or failed on the way).
KOVAPLATFORM_API bool FlushFileSystem(const std::string& path);

// The same for the file system holding a Linux folder; kErrorSuccess or the code of the failure.
KOVAPLATFORM_API uint32_t FlushLinuxFileSystem(const std::string& linuxFolder);

// What every flush calls, given the Linux folder: syncfs unless tests installed another, which then
// records the flushes in the order they come. An empty one puts syncfs back.
using FileSystemFlusher = std::function<uint32_t(const std::string& linuxFolder)>;
KOVAPLATFORM_API void SetFileSystemFlusher(FileSystemFlusher flusher);

}  // namespace platform
