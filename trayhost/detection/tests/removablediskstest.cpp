#include "platform/removabledisks.h"

#include "trayhost/detection/tests/sysfstree.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace platform {
namespace {

using testsupport::SysfsTree;
using Bus = SysfsTree::Bus;

class RemovableDisksTest : public testing::Test {
protected:
    std::vector<RemovableVolume> Volumes() const
    {
        return RemovableDisks(tree_.sysfsRoot(), tree_.mountInfoPath()).MountedVolumes();
    }

    SysfsTree tree_;
};

TEST_F(RemovableDisksTest, FindsAMountedPartitionOfADiskWithTheRemovableFlag)
{
    tree_.AddDisk("sdb", "8:16", true, Bus::Ata, "CORVANE ", "kova pj storage ");
    tree_.AddPartition("sdb", "sdb1", "8:17");
    const std::string folder = tree_.MakeFolder("KOVA");
    tree_.Mount("8:17", "/dev/sdb1", folder);

    EXPECT_EQ(Volumes(), (std::vector<RemovableVolume>{{"sdb", "sdb1", folder, "CORVANE ", "kova pj storage "}}));
}

TEST_F(RemovableDisksTest, ADiskOnAUsbBusIsRemovableWithoutTheFlag)
{
    tree_.AddDisk("sdc", "8:32", false, Bus::Usb, "Corvane ", "Kova HD Storage ");
    tree_.AddPartition("sdc", "sdc1", "8:33");
    tree_.Mount("8:33", "/dev/sdc1", tree_.MakeFolder("HD"));

    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(Volumes()[0].blockDevice, "sdc1");
}

TEST_F(RemovableDisksTest, AFixedDiskIsNotListed)
{
    tree_.AddDisk("sda", "8:0", false, Bus::Ata, "Corvane ", "Kova HD Storage ");
    tree_.AddPartition("sda", "sda1", "8:1");
    tree_.Mount("8:1", "/dev/sda1", tree_.MakeFolder("fixed"));

    EXPECT_TRUE(Volumes().empty());
}

TEST(RemovableDisksBusTest, OnlyTheTreeBelowTheSysfsRootDecidesTheBus)
{
    SysfsTree tree("usb1/sys");
    tree.AddDisk("sda", "8:0", false, SysfsTree::Bus::Ata, "ATA     ", "Some Disk       ");
    tree.Mount("8:0", "/dev/sda", tree.MakeFolder("fixed"));

    EXPECT_TRUE(RemovableDisks(tree.sysfsRoot(), tree.mountInfoPath()).MountedVolumes().empty());
}

TEST_F(RemovableDisksTest, AnUnmountedDiskIsNotListed)
{
    tree_.AddDisk("sdb", "8:16", true, Bus::Usb, "Corvane ", "Kova HD Storage ");
    tree_.AddPartition("sdb", "sdb1", "8:17");

    EXPECT_TRUE(Volumes().empty());
}

TEST_F(RemovableDisksTest, AWholeDiskMountCounts)
{
    tree_.AddDisk("sdb", "8:16", true, Bus::Ata, "Corvane ", "Kova HD Storage ");
    const std::string folder = tree_.MakeFolder("whole");
    tree_.Mount("8:16", "/dev/sdb", folder);

    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(Volumes()[0].blockDevice, "sdb");
    EXPECT_EQ(Volumes()[0].mountPoint, folder);
}

TEST_F(RemovableDisksTest, AMountIsMatchedBySourceWhenItsDeviceNumberIsAnonymous)
{
    tree_.AddDisk("sdb", "8:16", true, Bus::Ata, "Corvane ", "Kova HD Storage ");
    tree_.AddPartition("sdb", "sdb1", "8:17");
    tree_.Mount("0:52", "/dev/sdb1", tree_.MakeFolder("fuse"));

    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(Volumes()[0].blockDevice, "sdb1");
}

TEST_F(RemovableDisksTest, DecodesOctalEscapesInTheMountPoint)
{
    tree_.AddDisk("sdb", "8:16", true, Bus::Ata, "Corvane ", "Kova HD Storage ");
    tree_.AddPartition("sdb", "sdb1", "8:17");
    tree_.Mount("8:17", "/dev/sdb1", "/media/me/KOVA\\040PJ\\011x\\134y\\08");

    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(Volumes()[0].mountPoint, "/media/me/KOVA PJ\tx\\y\\08");
}

TEST_F(RemovableDisksTest, TakesTheFirstMountOfTheVolumeRootAndIgnoresFolderMounts)
{
    tree_.AddDisk("sdb", "8:16", true, Bus::Ata, "Corvane ", "Kova HD Storage ");
    tree_.AddPartition("sdb", "sdb1", "8:17");
    tree_.Mount("8:17", "/dev/sdb1", "/srv/music", "/Music");
    tree_.Mount("8:17", "/dev/sdb1", "/media/first");
    tree_.Mount("8:17", "/dev/sdb1", "/media/second");

    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(Volumes()[0].mountPoint, "/media/first");
}

TEST_F(RemovableDisksTest, OrdersByDiskAndPartitionNumber)
{
    tree_.AddDisk("sdc", "8:32", true, Bus::Ata, "Corvane ", "Kova HD Storage ");
    tree_.AddDisk("sdb", "8:16", true, Bus::Ata, "Corvane ", "Kova PJ Storage ");
    tree_.AddPartition("sdb", "sdb10", "8:26");
    tree_.AddPartition("sdb", "sdb2", "8:18");
    tree_.AddPartition("sdc", "sdc1", "8:33");
    tree_.Mount("8:33", "/dev/sdc1", "/media/c1");
    tree_.Mount("8:26", "/dev/sdb10", "/media/b10");
    tree_.Mount("8:18", "/dev/sdb2", "/media/b2");

    std::vector<std::string> devices;
    for (const RemovableVolume& volume : Volumes()) devices.push_back(volume.blockDevice);
    EXPECT_EQ(devices, (std::vector<std::string>{"sdb2", "sdb10", "sdc1"}));
}

TEST_F(RemovableDisksTest, SkipsMalformedMountInfoLines)
{
    tree_.AddDisk("sdb", "8:16", true, Bus::Ata, "Corvane ", "Kova HD Storage ");
    tree_.AddPartition("sdb", "sdb1", "8:17");
    tree_.AppendMountInfoLine("");
    tree_.AppendMountInfoLine("36 35 8:17 / /media/short");
    tree_.AppendMountInfoLine("36 35 8:17 / /media/noend rw shared:1 vfat /dev/sdb1 rw");
    tree_.AppendMountInfoLine("36 35 8:17 / /media/nosource rw shared:1 - vfat");
    tree_.AppendMountInfoLine("36 35 8:17 / /media/good rw - vfat /dev/sdb1 rw");

    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(Volumes()[0].mountPoint, "/media/good");
}

TEST_F(RemovableDisksTest, CutsAnOverlongAttribute)
{
    tree_.AddDisk("sdb", "8:16", true, Bus::Ata, std::string(100000, 'V'), "Kova HD Storage ");
    tree_.Mount("8:16", "/dev/sdb", "/media/long");

    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(Volumes()[0].vendor.size(), 256u);
}

TEST(RemovableDisksMissingTest, FindsNothingWithoutSysfsOrMountInfo)
{
    EXPECT_TRUE(RemovableDisks("/nonexistent/sys", "/nonexistent/mountinfo").MountedVolumes().empty());
}

DriveEntry PlainDrive(char letter, std::string directory)
{
    DriveEntry entry;
    entry.letter = letter;
    entry.directory = std::move(directory);
    return entry;
}

// The drive map's source reads the tree named by the environment.
class RemovableDrivesTest : public RemovableDisksTest {
protected:
    void SetUp() override
    {
        setenv("KOVAHDD_SYSFS", tree_.sysfsRoot().c_str(), 1);
        setenv("KOVAHDD_MOUNTINFO", tree_.mountInfoPath().c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("KOVAHDD_SYSFS");
        unsetenv("KOVAHDD_MOUNTINFO");
    }

    void AddMountedDisk(std::string_view disk, std::string_view deviceNumber, std::string_view folder)
    {
        tree_.AddDisk(disk, deviceNumber, true, Bus::Usb, "Corvane ", "Kova HD Storage ");
        tree_.Mount(deviceNumber, "/dev/" + std::string(disk), folder);
    }
};

TEST_F(RemovableDrivesTest, GivesVolumesTheFreeLettersFromE)
{
    AddMountedDisk("sdb", "8:16", "/media/b");
    AddMountedDisk("sdc", "8:32", "/media/c");
    AddMountedDisk("sdd", "8:48", "/media/d");
    std::vector<DriveEntry> entries{PlainDrive('C', "/c"), PlainDrive('F', "/f"), PlainDrive('Z', "/")};

    AddRemovableDrives(entries);

    std::string letters;
    for (const DriveEntry& entry : entries) letters += entry.letter;
    EXPECT_EQ(letters, "CEFGHZ");
    EXPECT_EQ(entries[1].directory, "/media/b");
    EXPECT_TRUE(entries[1].removable);
    EXPECT_EQ(entries[1].vendor, "Corvane ");
    EXPECT_EQ(entries[1].product, "Kova HD Storage ");
    EXPECT_EQ(entries[3].directory, "/media/c");
    EXPECT_EQ(entries[4].directory, "/media/d");
}

TEST_F(RemovableDrivesTest, LeavesOutVolumesBeyondZ)
{
    AddMountedDisk("sdb", "8:16", "/media/b");
    AddMountedDisk("sdc", "8:32", "/media/c");
    std::vector<DriveEntry> entries;
    for (char letter = 'A'; letter <= 'Y'; ++letter) entries.push_back(PlainDrive(letter, "/"));

    AddRemovableDrives(entries);

    ASSERT_EQ(entries.size(), 26u);
    EXPECT_EQ(entries.back().letter, 'Z');
    EXPECT_EQ(entries.back().directory, "/media/b");
}

TEST_F(RemovableDrivesTest, KnowsWhenADiskCameOrWent)
{
    AddMountedDisk("sdb", "8:16", "/media/b");
    std::vector<DriveEntry> entries;
    AddRemovableDrives(entries);
    EXPECT_TRUE(RemovableDrivesUpToDate());

    AddMountedDisk("sdc", "8:32", "/media/c");
    EXPECT_FALSE(RemovableDrivesUpToDate());

    AddRemovableDrives(entries);
    EXPECT_TRUE(RemovableDrivesUpToDate());
}

}  // namespace
}  // namespace platform
