#pragma once

#include <string>
#include <string_view>
#include <vector>

// Inside the platform library only: the mounts as /proc/self/mountinfo lists them.
namespace platform {

inline constexpr std::string_view kVolumeRoot = "/";

struct Mount {
    std::string deviceNumber;  // "major:minor" of the mounted file system
    std::string root;          // the folder of the file system mounted here; kVolumeRoot for all of it
    std::string mountPoint;
    std::string source;        // "/dev/sdb1", or whatever the file system's driver names
};

// The file named by KOVAHDD_MOUNTINFO (tests give fixtures), else /proc/self/mountinfo.
std::string MountInfoPathFromEnvironment();

// The mounts of a file in the format of /proc/self/mountinfo, in its order (a later mount at the
// same point lies on top of an earlier one); malformed lines are passed over.
std::vector<Mount> ReadMounts(const std::string& mountInfoPath);

}  // namespace platform
