#pragma once

#include "trayhost/detection/detectionplatform.h"

namespace trayhost {

// Detection on Linux, over the drive map: a drive is removable when its entry says so (mounted
// removable disks found in sysfs, and simulated devices declared in drives.conf or KOVAHDD_DRIVES),
// and answers the inquiry with the vendor and product strings of its entry. Linux reports itself as
// the NT family, whose method (the storage property query) is exactly such an inquiry.
//
// The registry enumeration is answered from the same entries: one device per removable drive,
// described by its vendor and product joined, as Windows Me describes a SCSI disk.
class LinuxDetectionPlatform : public DetectionPlatform {
public:
    std::optional<WindowsVersion> GetVersion() override;
    // Reloads the drive map when a removable disk was mounted or went away since it was loaded.
    void RefreshDrives() override;
    bool IsRemovableDrive(char letter) override;
    InquiryReply Inquire(char letter) override;
    std::optional<std::vector<RegisteredDevice>> RegisteredDevices() override;
    bool IsDriveAccessible(const std::string& rootPath) override;
};

}  // namespace trayhost
