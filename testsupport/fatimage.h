#pragma once

#include <string>

namespace testsupport {

// A FAT32 image mounted with fusefat at a temporary directory for the life of the object: times in
// 2-second steps and names without case, as on the player's disk. mounted() is false where
// /dev/fuse, fusefat or mkfs.vfat is missing.
class MountedFatImage {
public:
    MountedFatImage();
    ~MountedFatImage();
    MountedFatImage(const MountedFatImage&) = delete;
    MountedFatImage& operator=(const MountedFatImage&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& directory() const { return directory_; }

private:
    std::string directory_;
    std::string image_;
    bool mounted_ = false;
};

}  // namespace testsupport
