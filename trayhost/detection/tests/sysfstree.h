#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

// A temporary sysfs tree laid out as the kernel lays it out (block devices under
// devices/.../block, linked from block/), and a mountinfo file beside it. Removed on destruction.
class SysfsTree {
public:
    enum class Bus { Ata, Usb };

    // sysFolder: where below the temporary folder the tree lies.
    explicit SysfsTree(std::string_view sysFolder = "sys");
    ~SysfsTree();
    SysfsTree(const SysfsTree&) = delete;
    SysfsTree& operator=(const SysfsTree&) = delete;

    std::string sysfsRoot() const { return sys_.string(); }
    std::string mountInfoPath() const { return (base_ / "mountinfo").string(); }
    // A folder inside the tree's temporary folder, created on demand: somewhere to mount.
    std::string MakeFolder(std::string_view name) const;

    // A disk with its inquiry strings written as sysfs writes them (a newline after the value).
    void AddDisk(std::string_view name, std::string_view deviceNumber, bool removableFlag, Bus bus,
                 std::string_view vendor, std::string_view model);
    void AddPartition(std::string_view disk, std::string_view partition, std::string_view deviceNumber);
    // Appends a mountinfo line for a mount of source's volume root at mountPoint (written as given:
    // escape special characters yourself).
    void Mount(std::string_view deviceNumber, std::string_view source, std::string_view mountPoint,
               std::string_view root = "/");
    void AppendMountInfoLine(std::string_view line);
    // Every volume unmounted, as after the disk was pulled out.
    void ClearMountInfo();

private:
    std::filesystem::path base_;
    std::filesystem::path sys_;
    int nextMountId_ = 30;
};

}  // namespace testsupport
