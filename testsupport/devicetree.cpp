#include "testsupport/devicetree.h"

#include "platform/drivemap.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

std::string MakeTemporaryDirectory()
{
    std::string pattern = (fs::temp_directory_path() / "kovadevice-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    return pattern;
}

}  // namespace

TemporaryDevice::TemporaryDevice(char letter) : letter_(letter), directory_(MakeTemporaryDirectory())
{
    Map();
}

// Mounted before it is mapped: the drive stands for the file system at its directory when mapped.
TemporaryDevice::TemporaryDevice(char letter, std::size_t sizeLimitBytes)
    : letter_(letter), directory_(MakeTemporaryDirectory())
{
    const std::string options = "size=" + std::to_string(sizeLimitBytes);
    mounted_ = geteuid() == 0 && mount("tmpfs", directory_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    Map();
}

void TemporaryDevice::Map() const
{
    platform::DriveEntry entry;
    entry.letter = letter_;
    entry.directory = directory_;
    entry.removable = true;
    platform::DriveMap::Instance().Assign(entry);
}

TemporaryDevice::~TemporaryDevice()
{
    Unplug();
}

std::string TemporaryDevice::root() const
{
    return std::string(1, letter_) + ":";
}

std::string TemporaryDevice::LinuxPath(std::string_view relative) const
{
    return (fs::path(directory_) / relative).string();
}

void TemporaryDevice::MakeFolder(std::string_view relative) const
{
    fs::create_directories(LinuxPath(relative));
}

void TemporaryDevice::WriteFile(std::string_view relative, std::string_view bytes) const
{
    const fs::path path = LinuxPath(relative);
    fs::create_directories(path.parent_path());
    WriteWholeFile(path.string(), bytes);
}

std::string TemporaryDevice::ReadFile(std::string_view relative) const
{
    return ReadWholeFile(LinuxPath(relative));
}

bool TemporaryDevice::Exists(std::string_view relative) const
{
    return fs::exists(LinuxPath(relative));
}

void TemporaryDevice::UnmountLazily()
{
    if (mounted_ && umount2(directory_.c_str(), MNT_DETACH) == 0) mounted_ = false;
}

void TemporaryDevice::Unplug()
{
    if (!plugged_) return;
    plugged_ = false;
    platform::DriveMap::Instance().Remove(letter_);
    if (mounted_) umount2(directory_.c_str(), MNT_DETACH);
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

std::string ReadWholeFile(const std::string& linuxPath)
{
    std::ifstream in(linuxPath, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + linuxPath);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& linuxPath, std::string_view bytes)
{
    std::ofstream out(linuxPath, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + linuxPath);
}

}  // namespace testsupport
