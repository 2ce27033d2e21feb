#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// A FAT32 image mounted with fusefat and mapped as a removable drive for the lifetime of the object:
// the player's own file system, with times in 2-second steps kept as local times, and names without
// letter case. mounted() is false where it cannot be made (no /dev/fuse, fusefat or mkfs.vfat), and
// the test then skips.
class FatImage {
public:
    // timeZone: the TZ by which fusefat turns the disk's local times into UTC.
    explicit FatImage(char letter = 'E', std::string_view timeZone = "UTC");
    ~FatImage();
    FatImage(const FatImage&) = delete;
    FatImage& operator=(const FatImage&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& directory() const { return directory_; }
    std::string LinuxPath(std::string_view relative) const;

    // Mounts the same disk again with another time zone, as after a change of daylight saving time,
    // and maps the drive to it anew.
    bool Remount(std::string_view timeZone);

private:
    bool Mount(std::string_view timeZone);
    void Unmount();

    char letter_;
    std::string directory_;
    std::string image_;
    bool mounted_ = false;
};

}  // namespace testsupport
