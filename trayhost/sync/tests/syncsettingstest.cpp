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
    const char* problemPath;  // null: the item can run
    std::string reason;
};

TEST_F(SyncSettingsTest, ValidatesAnItemForItsOptionAndTellsWhyItCannotRun)
{
    device_.WriteFile("Solo/x.mp3", "x");
    const ItemCase cases[] = {
        {"one way, both there", SyncOption::PcToDevice, "C:\\Music", "E:\\Music", nullptr, ""},
        {"one way, destination still to make", SyncOption::PcToDevice, "C:\\Music", "E:\\New", nullptr, ""},
        {"one way, source missing", SyncOption::PcToDevice, "C:\\Gone", "E:\\Music", "C:\\Gone", "it does not exist"},
        {"other way, source missing", SyncOption::DeviceToPc, "C:\\Music", "E:\\Gone", "E:\\Gone",
         "it does not exist"},
        {"both ways, PC folder missing", SyncOption::SyncBoth, "C:\\Gone", "E:\\Music", "C:\\Gone",
         "it does not exist"},
        {"both ways, PC file made from the device's", SyncOption::SyncBoth, "C:\\Solo\\x.mp3", "E:\\Solo\\x.mp3",
         nullptr, ""},
        {"no PC path", SyncOption::PcToDevice, "", "E:\\Music", "E:\\Music", "item 1 has no PC path"},
        {"no paths at all", SyncOption::PcToDevice, "", "", "", "item 1 has neither a PC path nor a device path"},
        {"a file paired with a folder", SyncOption::PcToDevice, "C:\\Music\\a.mp3", "E:\\Music", "C:\\Music\\a.mp3",
         "it is a file, and E:\\Music a folder: a file is only kept in step with a file"},
        {"both ways, same name in another case", SyncOption::SyncBoth, "C:\\Music\\a.mp3", "E:\\b\\A.MP3", nullptr,
         ""},
        {"both ways, different names", SyncOption::SyncBoth, "C:\\Music\\a.mp3", "E:\\b\\y.mp3",
         "C:\\Music\\a.mp3",
         "its name is not that of E:\\b\\y.mp3, and a file is only kept in step with a file of its name"},
        {"no valid option", SyncOption::Invalid, "C:\\Music", "E:\\Music", "C:\\Music",
         "the profile has no valid direction"},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.name);
        SyncSettings settings = WithItem(c.option, c.pcPath, c.devicePath);
        const std::optional<SyncProblem> problem = ValidateSyncItem(settings, 0);
        if (!c.problemPath) {
            EXPECT_EQ(problem, std::nullopt);
            continue;
        }
        EXPECT_EQ(problem, (SyncProblem{SyncProblem::Kind::ItemNotRun, c.problemPath, c.reason}));
    }
}

TEST_F(SyncSettingsTest, ValidationTrimsTheStoredPaths)
{
    SyncSettings settings = WithItem(SyncOption::PcToDevice, "  C:\\Music ", " E:\\Music");
    EXPECT_EQ(ValidateSyncItem(settings, 0), std::nullopt);
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
