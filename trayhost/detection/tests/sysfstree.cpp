#include "trayhost/detection/tests/sysfstree.h"

#include "testsupport/devicetree.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

fs::path DeviceFolderFor(SysfsTree::Bus bus, std::string_view disk)
{
    const std::string target = "target_" + std::string(disk);
    if (bus == SysfsTree::Bus::Usb) {
        return fs::path("devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6") / target / "6:0:0:0";
    }
    return fs::path("devices/pci0000:00/0000:00:1f.2/ata1/host0") / target / "0:0:0:0";
}

}  // namespace

SysfsTree::SysfsTree(std::string_view sysFolder)
{
    std::string pattern = (fs::temp_directory_path() / "kovasysfs-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    base_ = pattern;
    sys_ = base_ / sysFolder;
    fs::create_directories(sys_ / "block");
    WriteWholeFile(mountInfoPath(), "");
}

SysfsTree::~SysfsTree()
{
    std::error_code ignored;
    fs::remove_all(base_, ignored);
}

std::string SysfsTree::MakeFolder(std::string_view name) const
{
    const fs::path folder = base_ / "mnt" / name;
    fs::create_directories(folder);
    return folder.string();
}

void SysfsTree::AddDisk(std::string_view name, std::string_view deviceNumber, bool removableFlag, Bus bus,
                        std::string_view vendor, std::string_view model)
{
    const fs::path& sys = sys_;
    const fs::path deviceFolder = DeviceFolderFor(bus, name);
    const fs::path diskFolder = deviceFolder / "block" / name;
    fs::create_directories(sys / diskFolder);
    WriteWholeFile((sys / deviceFolder / "vendor").string(), std::string(vendor) + "\n");
    WriteWholeFile((sys / deviceFolder / "model").string(), std::string(model) + "\n");
    WriteWholeFile((sys / diskFolder / "removable").string(), removableFlag ? "1\n" : "0\n");
    WriteWholeFile((sys / diskFolder / "dev").string(), std::string(deviceNumber) + "\n");
    fs::create_directory_symlink("../..", sys / diskFolder / "device");
    fs::create_directory_symlink(fs::path("..") / diskFolder, sys / "block" / name);
}

void SysfsTree::AddPartition(std::string_view disk, std::string_view partition, std::string_view deviceNumber)
{
    const fs::path folder = sys_ / "block" / disk / partition;
    fs::create_directories(folder);
    WriteWholeFile((folder / "partition").string(), "1\n");
    WriteWholeFile((folder / "dev").string(), std::string(deviceNumber) + "\n");
}

void SysfsTree::Mount(std::string_view deviceNumber, std::string_view source, std::string_view mountPoint,
                      std::string_view root)
{
    const int id = nextMountId_++;
    AppendMountInfoLine(std::to_string(id) + " 1 " + std::string(deviceNumber) + " " + std::string(root) + " " +
                        std::string(mountPoint) + " rw,nosuid,nodev shared:" + std::to_string(id) + " - vfat " +
                        std::string(source) + " rw,fmask=0022");
}

void SysfsTree::ClearMountInfo()
{
    WriteWholeFile(mountInfoPath(), "");
}

void SysfsTree::AppendMountInfoLine(std::string_view line)
{
    std::ofstream out(mountInfoPath(), std::ios::app);
    out << line << '\n';
}

}  // namespace testsupport
