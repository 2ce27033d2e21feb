#pragma once

#include <cstddef>
#include <string>

namespace testsupport {

// A FAT32 image made by mkfs.vfat and mounted with fusefat for the object's lifetime: a disk that
// behaves as the player's does (names without letter case, times in 2-second steps, the names and
// sizes FAT refuses, no room past its size). mounted() is false where /dev/fuse, fusefat or
// mkfs.vfat is missing.
class FatImage {
public:
    // 40,000 KiB is about the smallest FAT32 that mkfs.vfat makes.
    static constexpr std::size_t kSmallestKiB = 40000;

    explicit FatImage(std::size_t kibibytes = kSmallestKiB);
    ~FatImage();
    FatImage(const FatImage&) = delete;
    FatImage& operator=(const FatImage&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& directory() const { return directory_; }

private:
    std::string directory_;
    std::string image_;
    bool mounted_ = false;
};

}  // namespace testsupport
