#include "testsupport/fatimage.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

constexpr char kImageSectors[] = "40000";  // 20 MB in sectors of 512 bytes: FAT32 needs that much

}  // namespace

MountedFatImage::MountedFatImage()
{
    if (access("/dev/fuse", F_OK) != 0 || std::system("command -v fusefat mkfs.vfat >/dev/null 2>&1") != 0) return;
    std::string pattern = (fs::temp_directory_path() / "kovafat-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    directory_ = pattern;
    image_ = directory_ + ".img";
    const std::string make = "mkfs.vfat -C -F 32 '" + image_ + "' " + kImageSectors + " >/dev/null 2>&1";
    const std::string mount = "fusefat -o rw+ '" + image_ + "' '" + directory_ + "' >/dev/null 2>&1";
    mounted_ = std::system(make.c_str()) == 0 && std::system(mount.c_str()) == 0;
}

MountedFatImage::~MountedFatImage()
{
    if (mounted_) std::system(("fusermount -u '" + directory_ + "'").c_str());
    std::error_code ignored;
    if (!image_.empty()) fs::remove(image_, ignored);
    if (!directory_.empty()) fs::remove(directory_, ignored);
}

}  // namespace testsupport
