#pragma once

#include "platform/drivemap.h"
#include "platform/export.h"

#include <string>
#include <vector>

// Removable disks as sysfs shows them, and where their volumes are mounted. A disk is removable
// when its "removable" flag is set or when it hangs off a USB bus (card readers and most USB disks
// do not set the flag). The inquiry strings are the disk's SCSI vendor and model as sysfs gives
// them: space padded to 8 and 16 bytes.
namespace platform {

struct RemovableVolume {
    std::string disk;         // "sdb"
    std::string blockDevice;  // "sdb1", or "sdb" when the whole disk holds the file system
    std::string mountPoint;   // absolute Linux directory
    std::string vendor;
    std::string product;

    bool operator==(const RemovableVolume&) const = default;
};

class KOVAPLATFORM_API RemovableDisks {
public:
    // sysfsRoot is the directory that holds "block" (normally /sys); mountInfoPath a file in the
    // format of /proc/self/mountinfo.
    RemovableDisks(std::string sysfsRoot, std::string mountInfoPath);

    // The roots named by KOVAHDD_SYSFS and KOVAHDD_MOUNTINFO, else /sys and /proc/self/mountinfo.
    static RemovableDisks FromEnvironment();

    // Every mounted volume of a removable disk, by disk name and then partition number (names
    // compared with their digit runs as numbers). A volume mounted twice counts once, at its first
    // mount of the volume's root; mounts of a folder inside a volume do not count.
    std::vector<RemovableVolume> MountedVolumes() const;

private:
    std::string sysfsRoot_;
    std::string mountInfoPath_;
};

// The drive map's removable-disk source. Adds each mounted removable volume (FromEnvironment) as a
// removable drive with its inquiry strings, at the next letter from E: upwards that the entries
// leave free; volumes beyond Z: are left out. Keeps the entries in ascending letters.
KOVAPLATFORM_API void AddRemovableDrives(std::vector<DriveEntry>& entries);

// False when the mounted removable volumes are no longer those AddRemovableDrives last added (a
// disk came or went since), so the drive map must be reloaded to show them.
KOVAPLATFORM_API bool RemovableDrivesUpToDate();

}  // namespace platform
