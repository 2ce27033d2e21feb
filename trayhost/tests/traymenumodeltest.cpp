#include "trayhost/traymenumodel.h"

#include "trayhost/tests/fakedetection.h"

#include <gtest/gtest.h>

namespace trayhost {
namespace {

struct Expected {
    uint32_t id;
    const char* text;
};

class TrayMenuModelTest : public ::testing::Test {
protected:
    std::vector<TrayMenuItem> MenuFor(std::vector<std::pair<char, uint8_t>> devices)
    {
        FakeDetection::Attach(std::move(devices));
        table_.Rebuild("");
        return BuildTrayMenu(table_);
    }

    static void ExpectSubmenu(const TrayMenuItem& item, const std::vector<Expected>& expected)
    {
        ASSERT_EQ(item.submenu.size(), expected.size()) << item.text;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(item.submenu[i].id, expected[i].id);
            EXPECT_EQ(item.submenu[i].text, expected[i].text);
            EXPECT_TRUE(item.submenu[i].submenu.empty());
        }
    }

    DeviceTable table_{&FakeDetection::Enumerate};
};

TEST_F(TrayMenuModelTest, MenuHoldsItsNineEntriesInOrderWithProfileAsDefault)
{
    const auto menu = MenuFor({});
    const std::vector<Expected> expected{
        {32773, "&About Kova MP3/Personal Jukebox Application..."},
        {0, ""},
        {32771, "&Profile Kova MP3/Personal Jukebox Device..."},
        {32774, "&Update Kova MP3/Personal Jukebox System Files..."},
        {32777, "&Verify Kova MP3/Personal Jukebox User Playlists..."},
        {0, ""},
        {32779, "KovaSync"},
        {0, ""},
        {32772, "&Close Kova MP3/Personal Jukebox Application"},
    };
    ASSERT_EQ(menu.size(), expected.size());
    for (std::size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].id, expected[i].id) << "position " << i;
        EXPECT_EQ(menu[i].text, expected[i].text) << "position " << i;
        EXPECT_EQ(menu[i].separator, expected[i].id == 0) << "position " << i;
        EXPECT_EQ(menu[i].isDefault, i == 2) << "position " << i;
    }
}

TEST_F(TrayMenuModelTest, NoDeviceOrOneDeviceGivesPlainCommands)
{
    for (const auto& devices : {std::vector<std::pair<char, uint8_t>>{},
                                std::vector<std::pair<char, uint8_t>>{{'E', kModelHd}}}) {
        for (const TrayMenuItem& item : MenuFor(devices)) EXPECT_TRUE(item.submenu.empty()) << item.text;
    }
}

TEST_F(TrayMenuModelTest, SeveralDevicesGiveADriveSubmenuUnderEachDeviceCommand)
{
    const auto menu = MenuFor({{'E', kModelHd}, {'G', kModelPj}});
    ExpectSubmenu(menu[2], {{600, "E:\\"}, {601, "G:\\"}});
    ExpectSubmenu(menu[3], {{700, "E:\\"}, {701, "G:\\"}});
    ExpectSubmenu(menu[4], {{800, "E:\\"}, {801, "G:\\"}});
    EXPECT_TRUE(menu[0].submenu.empty());
    EXPECT_TRUE(menu[6].submenu.empty());
    EXPECT_TRUE(menu[8].submenu.empty());
}

TEST_F(TrayMenuModelTest, UnpluggingOneOfTwoDevicesRemovesTheSubmenus)
{
    MenuFor({{'E', kModelHd}, {'G', kModelPj}});
    const auto menu = MenuFor({{'G', kModelPj}});
    for (const TrayMenuItem& item : menu) EXPECT_TRUE(item.submenu.empty()) << item.text;
    EXPECT_EQ(table_.SelectedEntry()->driveLetter, 'G');
}

}  // namespace
}  // namespace trayhost
