#include "trayhost/sync/syncsettings.h"

#include "testsupport/devicetree.h"
#include "trayhost/libraryprofilerengine.h"

#include <gtest/gtest.h>

#include <string>

namespace trayhost {
namespace {

class SyncSettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        pc_.WriteFile("Music/a.mp3", "x");
        device_.MakeFolder("Music");
    }

    static SyncSettings WithItem(SyncOption option, const std::string& pcPath, const std::string& devicePath)
    {
        SyncSettings settings;
        settings.option = option;
        settings.deviceLetter = 'E';
        settings.items.push_back(SyncItem{{}, {}, pcPath, devicePath});
        return settings;
    }

    testsupport::TemporaryDevice pc_{'C'};
    testsupport::TemporaryDevice device_{'E'};
};

struct ItemCase {
    const char* name;
    SyncOption option;
    const char* pcPath;
    const char* devicePath;
    bool valid;
};

TEST_F(SyncSettingsTest, ValidatesAnItemForItsOption)
{
    const ItemCase cases[] = {
        {"one way, both there", SyncOption::PcToDevice, "C:\\Music", "E:\\Music", true},
        {"one way, destination still to make", SyncOption::PcToDevice, "C:\\Music", "E:\\New", true},
        {"one way, source missing", SyncOption::PcToDevice, "C:\\Gone", "E:\\Music", false},
        {"other way, source missing", SyncOption::DeviceToPc, "C:\\Music", "E:\\Gone", false},
        {"no PC path", SyncOption::PcToDevice, "", "E:\\Music", false},
        {"both ways, same name in another case", SyncOption::SyncBoth, "C:\\a\\x.mp3", "E:\\b\\X.MP3", true},
        {"both ways, different names", SyncOption::SyncBoth, "C:\\a\\x.mp3", "E:\\b\\y.mp3", false},
        {"both ways, folders need not exist yet", SyncOption::SyncBoth, "C:\\Gone", "E:\\Gone", true},
        {"no valid option", SyncOption::Invalid, "C:\\Music", "E:\\Music", false},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.name);
        SyncSettings settings = WithItem(c.option, c.pcPath, c.devicePath);
        EXPECT_EQ(ValidateSyncItem(settings, 0), c.valid);
        EXPECT_FALSE(ValidateSyncItem(settings, 1));
    }
}

TEST_F(SyncSettingsTest, ValidationTrimsTheStoredPaths)
{
    SyncSettings settings = WithItem(SyncOption::PcToDevice, "  C:\\Music ", " E:\\Music");
    EXPECT_TRUE(ValidateSyncItem(settings, 0));
    EXPECT_EQ(settings.items[0].pcPath, "C:\\Music");
    EXPECT_EQ(settings.items[0].devicePath, "E:\\Music");
}

TEST_F(SyncSettingsTest, TheDeviceIsPresentWhileItsDriveAnswers)
{
    SyncSettings settings;
    LibraryProfilerEngine engine;
    EXPECT_FALSE(IsSyncDevicePresent(settings, engine));
    settings.deviceLetter = 'E';
    EXPECT_TRUE(IsSyncDevicePresent(settings, engine));
    device_.Unplug();
    EXPECT_FALSE(IsSyncDevicePresent(settings, engine));
}

}  // namespace
}  // namespace trayhost
