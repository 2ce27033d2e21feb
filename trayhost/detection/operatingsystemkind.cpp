#include "trayhost/detection/operatingsystemkind.h"

namespace trayhost {

namespace {

constexpr uint32_t kWindows9xMajor = 4;
constexpr uint32_t kWindows98Minor = 10;
constexpr uint32_t kWindowsMeMinor = 90;
constexpr uint32_t kFirstStorageQueryMajor = 5;

OperatingSystemKind KindOfWindows9x(const WindowsVersion& version)
{
    if (version.majorVersion != kWindows9xMajor) return OperatingSystemKind::Unsupported;
    if (version.minorVersion == kWindows98Minor) return OperatingSystemKind::Windows98;
    if (version.minorVersion == kWindowsMeMinor) return OperatingSystemKind::WindowsMe;
    return OperatingSystemKind::Unsupported;
}

OperatingSystemKind KindOfNt(const WindowsVersion& version)
{
    if (version.majorVersion < kFirstStorageQueryMajor) return OperatingSystemKind::Unsupported;
    if (version.minorVersion == 0) return OperatingSystemKind::NtMinor0;
    if (version.minorVersion == 1) return OperatingSystemKind::NtMinor1;
    return OperatingSystemKind::Unsupported;
}

}  // namespace

OperatingSystemKind KindOfOperatingSystem(const std::optional<WindowsVersion>& version)
{
    if (!version) return OperatingSystemKind::VersionQueryFailed;
    switch (version->platformId) {
    case kPlatformWin32Windows:
        return KindOfWindows9x(*version);
    case kPlatformWin32Nt:
        return KindOfNt(*version);
    default:
        return OperatingSystemKind::Unsupported;
    }
}

}  // namespace trayhost
