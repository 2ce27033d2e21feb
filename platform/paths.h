#pragma once

#include "platform/export.h"

#include <optional>
#include <string>

// Windows-style paths (drive letter, '\', system code page) and the Linux paths behind them.
namespace platform {

inline constexpr std::size_t kMaxPath = 260;

// Resolves a path such as "E:\Music\a.mp3" through the drive map. Each existing component is
// matched exactly first, else without regard to case (a '?' in the name also stands for a character
// the code page could not hold); components that do not exist keep the caller's spelling, in UTF-8.
// Empty optional, with the last error set, when the path is not absolute (kErrorPathNotFound), its
// drive is not mapped (kErrorPathNotFound) or the drive's directory is gone (kErrorNotReady).
// "E:", "E:\" and "E:." all name the root of E:; '\' and '/' both separate; "." and ".." apply.
KOVAPLATFORM_API std::optional<std::string> ToLinuxPath(const std::string& windowsPath);

// The inside form of a Linux path: the drive whose directory holds it (longest match), else Z:.
KOVAPLATFORM_API std::string ToWindowsPath(const std::string& linuxPath);

// True when the text ends with a backslash (a root written "E:\"); the trail byte of a double-byte
// character is not one.
KOVAPLATFORM_API bool EndsWithBackslash(const std::string& path);
// Joins two path parts with one backslash between them (none added after a folder ending with one;
// an empty folder gives the name).
KOVAPLATFORM_API std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace platform
