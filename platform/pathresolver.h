#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Inside the platform library only: the Windows path walk behind every file call.
namespace platform {

struct ResolvedPath {
    uint32_t error = 0;        // 0, or the Windows code the call fails with
    std::string linuxPath;     // valid when error is 0
    bool isDriveRoot = false;  // the path names the root of its drive ("E:", "E:\", "E:.")
    std::string driveDirectory;           // the drive's directory
    std::optional<uint64_t> driveVolume;  // the file system the drive stands for (DriveEntry::volume)
    std::vector<std::string> components;  // below the drive, "." and ".." applied
};

// Resolves a Windows path as ToLinuxPath documents. Fails with kErrorPathNotFound for a path without
// a drive letter or on an unmapped drive, kErrorNotReady when the drive's directory is gone (a
// drive without its medium) or lies on another file system than the drive's, and kErrorInvalidName
// for a path holding a NUL byte. Every call that writes resolves its path here, so nothing is
// written into the mount point of a device that went away.
ResolvedPath ResolvePath(std::string_view windowsPath);

// The Linux path as the caller spelled every component, found without touching the file system: what
// ResolvePath gives whenever that spelling exists. A call that can tell from its own result that
// the path exists (an open or a listing that succeeds) saves the lookups. Fails as ResolvePath does
// for a bad drive or name, but never with kErrorNotReady.
ResolvedPath SpelledPath(std::string_view windowsPath);

// Splits off the last component ("E:\Music\*.mp3" gives "E:\Music" and "*.mp3"; "E:*.*" gives "E:"
// and "*.*"). Multibyte-aware: a trail byte equal to '\' is not a separator.
std::pair<std::string, std::string> SplitLastComponent(std::string_view windowsPath);

// The Windows code for a failed call on a resolved path: ENOENT is kErrorFileNotFound when the
// folder holding the path exists and kErrorPathNotFound when it does not.
uint32_t ErrorForPath(int errnoValue, const std::string& linuxPath);

}  // namespace platform
