#include "testsupport/fatimage.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

namespace testsupport {

namespace {

std::atomic<int> imageCounter{0};

bool Run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

FatImage::FatImage(std::size_t kibibytes)
{
    if (access("/dev/fuse", F_OK) != 0 || !Run("command -v fusefat mkfs.vfat")) return;
    const std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                            ("kovafat-" + std::to_string(getpid()) + "-" + std::to_string(imageCounter++));
    directory_ = directory.string();
    image_ = directory_ + ".img";
    std::filesystem::create_directories(directory);
    mounted_ = Run("mkfs.vfat -C -F 32 '" + image_ + "' " + std::to_string(kibibytes)) &&
               Run("fusefat -o rw+ '" + image_ + "' '" + directory_ + "'");
}

FatImage::~FatImage()
{
    if (mounted_) Run("fusermount -u '" + directory_ + "'");
    std::error_code ignored;
    if (!image_.empty()) std::filesystem::remove(image_, ignored);
    if (!directory_.empty()) std::filesystem::remove(directory_, ignored);
}

}  // namespace testsupport
