#include "platform/volumeidentity.h"

#include "platform/mountinfo.h"
#include "platform/pathresolver.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr char kUuidFolder[] = "/dev/disk/by-uuid";

std::string DeviceNumberOf(dev_t device)
{
    return std::to_string(major(device)) + ":" + std::to_string(minor(device));
}

// The mount at the directory that lies on top: a later line of mountinfo covers an earlier one.
const Mount* TopMountAt(const std::vector<Mount>& mounts, const std::string& directory)
{
    const Mount* top = nullptr;
    for (const Mount& mount : mounts) {
        if (mount.mountPoint == directory) top = &mount;
    }
    return top;
}

}  // namespace

VolumeIdentities::VolumeIdentities(std::string mountInfoPath, std::string uuidFolder)
    : mountInfoPath_(std::move(mountInfoPath)), uuidFolder_(std::move(uuidFolder))
{
}

VolumeIdentities VolumeIdentities::FromEnvironment()
{
    return VolumeIdentities(MountInfoPathFromEnvironment(), kUuidFolder);
}

VolumeIdentity VolumeIdentities::Of(const std::string& linuxDirectory) const
{
    std::error_code error;
    const fs::path canonical = fs::canonical(linuxDirectory, error);
    const std::string directory = error ? linuxDirectory : canonical.string();
    const std::vector<Mount> mounts = ReadMounts(mountInfoPath_);
    const Mount* mount = TopMountAt(mounts, directory);
    if (mount && mount->root == kVolumeRoot) {
        if (std::optional<std::string> uuid = UuidOfDevice(mount->deviceNumber)) {
            return {VolumeIdentity::Kind::FileSystemUuid, std::move(*uuid)};
        }
    }
    return {VolumeIdentity::Kind::Folder, directory};
}

std::optional<std::string> VolumeIdentities::UuidOfDevice(const std::string& deviceNumber) const
{
    std::error_code error;
    for (fs::directory_iterator it(uuidFolder_, error), end; !error && it != end; it.increment(error)) {
        struct stat status {};
        if (stat(it->path().c_str(), &status) != 0 || !S_ISBLK(status.st_mode)) continue;
        if (DeviceNumberOf(status.st_rdev) == deviceNumber) return it->path().filename().string();
    }
    return std::nullopt;
}

std::optional<VolumeIdentity> VolumeIdentityOf(const std::string& root)
{
    const ResolvedPath resolved = ResolvePath(root);
    if (resolved.error != 0) return std::nullopt;
    struct stat status {};
    if (stat(resolved.linuxPath.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
    return VolumeIdentities::FromEnvironment().Of(resolved.linuxPath);
}

}  // namespace platform
