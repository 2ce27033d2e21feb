#include "trayhost/detection/linuxdetectionplatform.h"

#include "platform/drivemap.h"
#include "platform/files.h"
#include "platform/removabledisks.h"

namespace trayhost {

namespace {

constexpr uint32_t kReportedMajorVersion = 5;
constexpr uint32_t kReportedMinorVersion = 1;

}  // namespace

std::optional<WindowsVersion> LinuxDetectionPlatform::GetVersion()
{
    return WindowsVersion{kPlatformWin32Nt, kReportedMajorVersion, kReportedMinorVersion};
}

void LinuxDetectionPlatform::RefreshDrives()
{
    // The map reads its sources, the removable disks among them, on first use: make sure it has
    // before asking whether what it read is still current.
    platform::DriveMap& driveMap = platform::DriveMap::Instance();
    if (!platform::RemovableDrivesUpToDate()) driveMap.Reload();
}

bool LinuxDetectionPlatform::IsRemovableDrive(char letter)
{
    const std::optional<platform::DriveEntry> entry = platform::DriveMap::Instance().Find(letter);
    return entry && entry->removable;
}

InquiryReply LinuxDetectionPlatform::Inquire(char letter)
{
    const std::optional<platform::DriveEntry> entry = platform::DriveMap::Instance().Find(letter);
    if (!entry || !entry->removable) return {};
    return {InquiryStatus::Answered, 0, entry->vendor, entry->product};
}

std::optional<std::vector<RegisteredDevice>> LinuxDetectionPlatform::RegisteredDevices()
{
    std::vector<RegisteredDevice> devices;
    for (const platform::DriveEntry& entry : platform::DriveMap::Instance().Entries()) {
        if (!entry.removable) continue;
        devices.push_back({{RegisteredInstance{entry.vendor + entry.product, std::string(1, entry.letter)}}});
    }
    return devices;
}

bool LinuxDetectionPlatform::IsDriveAccessible(const std::string& rootPath)
{
    if (platform::GetFileAttributes(rootPath + ".") == platform::kInvalidAttributes) return false;
    return platform::GetDiskFreeSpace(rootPath).has_value();
}

}  // namespace trayhost
