#include "platform/removabledisks.h"

#include "platform/mountinfo.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string_view>

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr char kSysfsVariable[] = "KOVAHDD_SYSFS";
constexpr char kDefaultSysfsRoot[] = "/sys";
constexpr char kDevicePrefix[] = "/dev/";
constexpr std::string_view kUsbBusPrefix = "usb";
constexpr char kRemovableFlagSet = '1';
constexpr char kFirstRemovableLetter = 'E';
constexpr char kLastLetter = 'Z';

// A sysfs attribute is one short line; a longer one is not what we read it for and is cut here.
constexpr std::size_t kMaxAttributeBytes = 256;

struct BlockDevice {
    std::string name;
    std::string deviceNumber;  // "major:minor", empty when sysfs does not say
};

struct RemovableDisk {
    std::string name;
    std::string vendor;
    std::string product;
    std::vector<BlockDevice> blockDevices;  // the whole disk first, then its partitions
};

// Orders names as people count: "sdb2" before "sdb10".
bool NaturalLess(std::string_view a, std::string_view b)
{
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (!isDigit(a[i]) || !isDigit(b[j])) {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
            continue;
        }
        const std::size_t startA = i;
        const std::size_t startB = j;
        while (i < a.size() && isDigit(a[i])) ++i;
        while (j < b.size() && isDigit(b[j])) ++j;
        std::string_view runA = a.substr(startA, i - startA);
        std::string_view runB = b.substr(startB, j - startB);
        runA.remove_prefix(std::min(runA.find_first_not_of('0'), runA.size()));
        runB.remove_prefix(std::min(runB.find_first_not_of('0'), runB.size()));
        if (runA.size() != runB.size()) return runA.size() < runB.size();
        if (runA != runB) return runA < runB;
    }
    return a.size() - i < b.size() - j;
}

std::string ReadAttribute(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text(kMaxAttributeBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text.substr(0, text.find('\n'));
}

bool IsUsbBusName(const std::string& name)
{
    if (name.size() <= kUsbBusPrefix.size() || !name.starts_with(kUsbBusPrefix)) return false;
    return std::all_of(name.begin() + kUsbBusPrefix.size(), name.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

// Only the part below the sysfs root counts, so that a root that happens to lie in a folder
// named like a bus does not make every disk a USB disk.
bool IsOnUsbBus(const fs::path& sysfsRoot, const std::string& disk)
{
    std::error_code error;
    const fs::path root = fs::canonical(sysfsRoot, error);
    if (error) return false;
    const fs::path device = fs::canonical(root / "block" / disk / "device", error);
    if (error) return false;
    for (const fs::path& component : device.lexically_relative(root)) {
        if (IsUsbBusName(component.string())) return true;
    }
    return false;
}

bool IsRemovableDisk(const fs::path& sysfsRoot, const std::string& disk)
{
    const std::string flag = ReadAttribute(sysfsRoot / "block" / disk / "removable");
    return (!flag.empty() && flag[0] == kRemovableFlagSet) || IsOnUsbBus(sysfsRoot, disk);
}

std::vector<std::string> SortedDirectoryNames(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

std::vector<BlockDevice> BlockDevicesOf(const fs::path& diskFolder, const std::string& disk)
{
    std::vector<BlockDevice> devices{{disk, ReadAttribute(diskFolder / "dev")}};
    for (const std::string& name : SortedDirectoryNames(diskFolder)) {
        std::error_code error;
        if (name.size() <= disk.size() || !name.starts_with(disk)) continue;
        if (!fs::is_directory(diskFolder / name, error)) continue;
        devices.push_back({name, ReadAttribute(diskFolder / name / "dev")});
    }
    return devices;
}

std::vector<RemovableDisk> FindRemovableDisks(const fs::path& sysfsRoot)
{
    std::vector<RemovableDisk> disks;
    for (const std::string& name : SortedDirectoryNames(sysfsRoot / "block")) {
        if (!IsRemovableDisk(sysfsRoot, name)) continue;
        const fs::path folder = sysfsRoot / "block" / name;
        disks.push_back({name, ReadAttribute(folder / "device" / "vendor"), ReadAttribute(folder / "device" / "model"),
                         BlockDevicesOf(folder, name)});
    }
    return disks;
}

const Mount* FirstMountOf(const BlockDevice& device, const std::vector<Mount>& mounts)
{
    for (const Mount& mount : mounts) {
        if (mount.root != kVolumeRoot) continue;
        const bool sameNumber = !device.deviceNumber.empty() && mount.deviceNumber == device.deviceNumber;
        if (sameNumber || mount.source == kDevicePrefix + device.name) return &mount;
    }
    return nullptr;
}

char NextFreeLetter(const std::vector<DriveEntry>& entries, char from)
{
    char letter = from;
    while (letter <= kLastLetter && std::any_of(entries.begin(), entries.end(), [letter](const DriveEntry& entry) {
               return entry.letter == letter;
           })) {
        ++letter;
    }
    return letter;
}

// The volumes the drive map was last loaded with, for RemovableDrivesUpToDate.
struct AddedVolumes {
    std::mutex mutex;
    std::optional<std::vector<RemovableVolume>> volumes;
};

AddedVolumes& LastAddedVolumes()
{
    static AddedVolumes added;
    return added;
}

}  // namespace

RemovableDisks::RemovableDisks(std::string sysfsRoot, std::string mountInfoPath)
    : sysfsRoot_(std::move(sysfsRoot)), mountInfoPath_(std::move(mountInfoPath))
{
}

RemovableDisks RemovableDisks::FromEnvironment()
{
    const char* sysfsRoot = std::getenv(kSysfsVariable);
    return RemovableDisks(sysfsRoot && *sysfsRoot ? sysfsRoot : kDefaultSysfsRoot, MountInfoPathFromEnvironment());
}

std::vector<RemovableVolume> RemovableDisks::MountedVolumes() const
{
    std::vector<RemovableVolume> volumes;
    const std::vector<Mount> mounts = ReadMounts(mountInfoPath_);
    for (const RemovableDisk& disk : FindRemovableDisks(sysfsRoot_)) {
        for (const BlockDevice& device : disk.blockDevices) {
            if (const Mount* mount = FirstMountOf(device, mounts)) {
                volumes.push_back({disk.name, device.name, mount->mountPoint, disk.vendor, disk.product});
            }
        }
    }
    return volumes;
}

void AddRemovableDrives(std::vector<DriveEntry>& entries)
{
    std::vector<RemovableVolume> volumes = RemovableDisks::FromEnvironment().MountedVolumes();
    char letter = kFirstRemovableLetter;
    for (const RemovableVolume& volume : volumes) {
        letter = NextFreeLetter(entries, letter);
        if (letter > kLastLetter) break;
        entries.push_back(DriveEntry{.letter = letter,
                                     .directory = volume.mountPoint,
                                     .removable = true,
                                     .vendor = volume.vendor,
                                     .product = volume.product,
                                     .volume = std::nullopt});
    }
    std::sort(entries.begin(), entries.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return a.letter < b.letter; });

    AddedVolumes& added = LastAddedVolumes();
    std::lock_guard lock(added.mutex);
    added.volumes = std::move(volumes);
}

bool RemovableDrivesUpToDate()
{
    const std::vector<RemovableVolume> current = RemovableDisks::FromEnvironment().MountedVolumes();
    AddedVolumes& added = LastAddedVolumes();
    std::lock_guard lock(added.mutex);
    return added.volumes == current;
}

}  // namespace platform
