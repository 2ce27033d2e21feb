#pragma once

#include <cstdint>
#include <optional>

namespace trayhost {

// The fields of the Windows version record that choose the identification method.
struct WindowsVersion {
    uint32_t platformId = 0;
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
};

inline constexpr uint32_t kPlatformWin32Windows = 1;  // Windows 95, 98, Me
inline constexpr uint32_t kPlatformWin32Nt = 2;       // Windows NT, 2000, XP and later

// Which family of operating system detection runs on; each family has its own way of asking a
// drive who it is. The values are the kinds detection has always used.
enum class OperatingSystemKind : int32_t {
    VersionQueryFailed = -1,
    Unsupported = 0,   // Windows 95, NT 4, and minor versions no method was made for
    Windows98 = 1,     // SCSI inquiry through the VWIN32 control channel
    WindowsMe = 2,     // the registry's SCSI device enumeration
    NtMinor0 = 3,      // storage property query (major version 5 or later, minor 0)
    NtMinor1 = 4,      // storage property query (major version 5 or later, minor 1)
};

// Empty version: the version query failed.
OperatingSystemKind KindOfOperatingSystem(const std::optional<WindowsVersion>& version);

}  // namespace trayhost
