#include "testsupport/fatimage.h"

#include "platform/drivemap.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

// A disk of 40,000 KiB: the smallest size mkfs.vfat makes FAT32 of with its default cluster size.
constexpr int kImageKibibytes = 40000;

bool Succeeds(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

FatImage::FatImage(char letter, std::string_view timeZone) : letter_(letter)
{
    if (access("/dev/fuse", F_OK) != 0 || !Succeeds("command -v fusefat mkfs.vfat fusermount")) return;
    directory_ = (fs::temp_directory_path() / ("kovafat-" + std::to_string(getpid()) + "-" + letter)).string();
    image_ = directory_ + ".img";
    fs::create_directories(directory_);
    if (Succeeds("mkfs.vfat -C -F 32 '" + image_ + "' " + std::to_string(kImageKibibytes))) Mount(timeZone);
}

FatImage::~FatImage()
{
    Unmount();
    std::error_code ignored;
    fs::remove(image_, ignored);
    fs::remove(directory_, ignored);
}

std::string FatImage::LinuxPath(std::string_view relative) const
{
    return (fs::path(directory_) / relative).string();
}

bool FatImage::Remount(std::string_view timeZone)
{
    Unmount();
    return Mount(timeZone);
}

// Mounted before it is mapped: the drive stands for the file system at its directory when mapped.
bool FatImage::Mount(std::string_view timeZone)
{
    mounted_ = Succeeds("TZ='" + std::string(timeZone) + "' fusefat -o rw+ '" + image_ + "' '" + directory_ + "'");
    if (!mounted_) return false;
    platform::DriveEntry entry;
    entry.letter = letter_;
    entry.directory = directory_;
    entry.removable = true;
    platform::DriveMap::Instance().Assign(entry);
    return true;
}

void FatImage::Unmount()
{
    if (!mounted_) return;
    platform::DriveMap::Instance().Remove(letter_);
    Succeeds("fusermount -u '" + directory_ + "'");
    mounted_ = false;
}

}  // namespace testsupport
