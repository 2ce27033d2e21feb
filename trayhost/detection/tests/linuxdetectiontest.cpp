#include "trayhost/detection/linuxdetectionplatform.h"

#include "platform/drivemap.h"
#include "trayhost/detection/devicedetector.h"
#include "trayhost/detection/tests/reportrecorder.h"
#include "trayhost/detection/tests/scopedvariable.h"
#include "trayhost/detection/tests/sysfstree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace trayhost {
namespace {

using testsupport::DeviceReport;
using testsupport::ReportRecorder;
using testsupport::ScopedVariable;
using testsupport::SysfsTree;
using Reports = std::vector<DeviceReport>;

// Declared before the variables a test changes, so that it runs after they are restored.
struct ReloadDriveMapAtExit {
    ~ReloadDriveMapAtExit() { platform::DriveMap::Instance().Reload(); }
};

// Detection over the real drive map, fed from a fixture sysfs tree and the drive variables, with
// no drives.conf.
class LinuxDetectionTest : public testing::Test {
protected:
    LinuxDetectionTest() { platform::DriveMap::Instance().Reload(); }

    Reports Detect()
    {
        ReportRecorder recorder;
        const int32_t count = detector_.EnumDevices(ReportRecorder::Callback, 9);
        EXPECT_EQ(count, static_cast<int32_t>(recorder.reports.size()));
        return recorder.reports;
    }

    void AddMountedDisk(bool removableFlag, SysfsTree::Bus bus, std::string_view vendor, std::string_view model)
    {
        tree_.AddDisk("sdb", "8:16", removableFlag, bus, vendor, model);
        tree_.AddPartition("sdb", "sdb1", "8:17");
        tree_.Mount("8:17", "/dev/sdb1", tree_.MakeFolder("KOVA"));
    }

    ReloadDriveMapAtExit reloadAtExit_;
    SysfsTree tree_;
    ScopedVariable sysfs_{"KOVAHDD_SYSFS", tree_.sysfsRoot()};
    ScopedVariable mountInfo_{"KOVAHDD_MOUNTINFO", tree_.mountInfoPath()};
    ScopedVariable configHome_{"XDG_CONFIG_HOME", tree_.MakeFolder("config")};
    ScopedVariable drives_{"KOVAHDD_DRIVES", std::nullopt};
    std::ostringstream trace_;
    LinuxDetectionPlatform platform_;
    DeviceDetector detector_{platform_, trace_};
};

TEST_F(LinuxDetectionTest, ReportsARemovableDiskWithTheJukeboxStringsAtItsLetter)
{
    AddMountedDisk(true, SysfsTree::Bus::Ata, "CORVANE ", "kova pj storage ");

    EXPECT_EQ(Detect(), (Reports{{'E', kModelPj, 9}}));
    const std::optional<platform::DriveEntry> drive = platform::DriveMap::Instance().Find('E');
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->directory, tree_.MakeFolder("KOVA"));
    EXPECT_EQ(trace_.str(), "");
}

TEST_F(LinuxDetectionTest, AVendorWithoutItsTrailingSpaceIsNotADevice)
{
    AddMountedDisk(true, SysfsTree::Bus::Ata, "CORVANE", "kova pj storage ");

    EXPECT_EQ(Detect(), Reports{});
}

TEST_F(LinuxDetectionTest, AFixedDiskWithTheJukeboxStringsIsNotADevice)
{
    AddMountedDisk(false, SysfsTree::Bus::Ata, "Corvane ", "Kova HD Storage ");

    EXPECT_EQ(Detect(), Reports{});
}

TEST_F(LinuxDetectionTest, FollowsDisksThatComeAndGo)
{
    EXPECT_EQ(Detect(), Reports{});

    AddMountedDisk(false, SysfsTree::Bus::Usb, "Corvane ", "Kova HD Storage ");
    EXPECT_EQ(Detect(), (Reports{{'E', kModelHd, 9}}));

    tree_.ClearMountInfo();
    EXPECT_EQ(Detect(), Reports{});
}

TEST_F(LinuxDetectionTest, ReportsASimulatedDeviceWithTheStringsItDeclares)
{
    ScopedVariable drives("KOVAHDD_DRIVES", "F=" + tree_.MakeFolder("some") + "|Corvane|Kova HD Storage;G=" +
                                                tree_.MakeFolder("other"));
    platform::DriveMap::Instance().Reload();

    EXPECT_EQ(Detect(), (Reports{{'F', kModelHd, 9}}));
}

// The registry method answered from the drive map, with the drive accessible test on real folders.
class LinuxRegistryDetectionTest : public LinuxDetectionTest {
protected:
    class AsWindowsMe : public LinuxDetectionPlatform {
    public:
        std::optional<WindowsVersion> GetVersion() override { return WindowsVersion{kPlatformWin32Windows, 4, 90}; }
    };

    void Simulate(char letter, const std::string& directory, std::string_view product)
    {
        platform::DriveMap::Instance().Assign(platform::DriveEntry{
            .letter = letter,
            .directory = directory,
            .removable = true,
            .vendor = "Corvane ",
            .product = std::string(product),
            .volume = std::nullopt});
    }

    AsWindowsMe windowsMe_;
    DeviceDetector registryDetector_{windowsMe_, trace_};
};

TEST_F(LinuxRegistryDetectionTest, ReportsAccessibleDevicesOnly)
{
    Simulate('G', tree_.MakeFolder("pj"), "Kova PJ Storage ");
    Simulate('H', tree_.MakeFolder("gone"), "Kova HD Storage ");
    std::filesystem::remove(tree_.MakeFolder("gone"));

    ReportRecorder recorder;
    EXPECT_EQ(registryDetector_.EnumDevices(ReportRecorder::Callback, 1), 1);
    EXPECT_EQ(recorder.reports, (Reports{{'G', kModelPj, 1}}));
}

}  // namespace
}  // namespace trayhost
