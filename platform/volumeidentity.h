#pragma once

#include "platform/export.h"

#include <optional>
#include <string>

// A name for the volume behind a device's root that stays the same when the device is unplugged
// and mounted again at another point or drive letter: what the program keeps about a device on
// the computer is filed under it.
namespace platform {

struct VolumeIdentity {
    enum class Kind {
        FileSystemUuid,  // name: the file system's UUID as /dev/disk/by-uuid lists it; a FAT
                         // volume's is its serial number ("1A2B-3C4D")
        Folder,          // name: the absolute Linux directory of a folder that acts as a device
    };
    Kind kind = Kind::Folder;
    std::string name;

    bool operator==(const VolumeIdentity&) const = default;
};

class KOVAPLATFORM_API VolumeIdentities {
public:
    // mountInfoPath: a file in the format of /proc/self/mountinfo; uuidFolder: links named after
    // file-system UUIDs that lead to block devices, as /dev/disk/by-uuid holds them.
    VolumeIdentities(std::string mountInfoPath, std::string uuidFolder);
    // KOVAHDD_MOUNTINFO (else /proc/self/mountinfo) and /dev/disk/by-uuid.
    static VolumeIdentities FromEnvironment();

    // The UUID of the file system when the directory is where the whole file system of a block
    // device is mounted; else the directory itself, its links resolved.
    VolumeIdentity Of(const std::string& linuxDirectory) const;

private:
    std::optional<std::string> UuidOfDevice(const std::string& deviceNumber) const;

    std::string mountInfoPath_;
    std::string uuidFolder_;
};

// The identity of the volume behind a Windows root ("E:", "E:\"; FromEnvironment), empty when the
// root names no folder.
KOVAPLATFORM_API std::optional<VolumeIdentity> VolumeIdentityOf(const std::string& root);

}  // namespace platform
