#include "trayhost/devicetable.h"

#include "trayhost/tests/fakedetection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace trayhost {
namespace {

class DeviceTableTest : public ::testing::Test {
protected:
    DeviceTable table_{&FakeDetection::Enumerate};
};

TEST_F(DeviceTableTest, RebuildFillsTheTableInDetectionOrderAndSelectsTheFirst)
{
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    ASSERT_EQ(table_.Rebuild("/usr/bin/KOVAHDDProfilerTrayApp"), 1);

    ASSERT_EQ(table_.count(), 2);
    EXPECT_EQ(table_.entry(0).driveLetter, 'E');
    EXPECT_EQ(table_.entry(0).model, kModelHd);
    EXPECT_EQ(table_.entry(1).driveLetter, 'G');
    EXPECT_EQ(table_.entry(1).model, kModelPj);
    EXPECT_EQ(table_.selectedIndex(), 0);
    EXPECT_FALSE(table_.detecting());
}

TEST_F(DeviceTableTest, DetectionIsToldWhereTheDeviceConflictDialogComesFrom)
{
    FakeDetection::Attach({});
    table_.Rebuild("/usr/bin/KOVAHDDProfilerTrayApp");

    const tagKOVAHDCONFLICTDIALOGINFO& info = FakeDetection::lastInfo;
    EXPECT_STREQ(info.moduleFileName, "/usr/bin/KOVAHDDProfilerTrayApp");
    EXPECT_EQ(info.parentWindow, nullptr);
    EXPECT_EQ(info.dialogTemplateId & 0xFFFF, 172u);
    EXPECT_EQ(info.textControlId, 1066);
    EXPECT_EQ(info.listControlId, 1065);
}

TEST_F(DeviceTableTest, OverlongProgramPathIsCutToTheRecordsField)
{
    FakeDetection::Attach({});
    table_.Rebuild("/" + std::string(400, 'p'));
    EXPECT_EQ(std::strlen(FakeDetection::lastInfo.moduleFileName), 259u);
}

TEST_F(DeviceTableTest, RebuildWithoutDevicesEmptiesTheTable)
{
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    table_.Rebuild("");
    table_.Select(1);

    FakeDetection::Attach({});
    EXPECT_EQ(table_.Rebuild(""), 0);
    EXPECT_EQ(table_.count(), 0);
    EXPECT_EQ(table_.selectedIndex(), 0);
    EXPECT_EQ(table_.entry(0).driveLetter, DeviceTable::kUnusedLetter);
    EXPECT_EQ(table_.entry(1).model, kModelNone);
    EXPECT_EQ(table_.SelectedEntry(), nullptr);
}

TEST_F(DeviceTableTest, RebuildResetsTheSelection)
{
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    table_.Rebuild("");
    ASSERT_TRUE(table_.Select(1));
    EXPECT_EQ(table_.SelectedEntry()->driveLetter, 'G');

    table_.Rebuild("");
    EXPECT_EQ(table_.selectedIndex(), 0);
    EXPECT_EQ(table_.SelectedEntry()->driveLetter, 'E');
}

TEST_F(DeviceTableTest, FailingDetectionKeepsWhatWasFoundAndCountsAsFound)
{
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    FakeDetection::throwAfterFirstDevice = true;

    EXPECT_EQ(table_.Rebuild(""), 1);
    EXPECT_EQ(table_.count(), 1);
    EXPECT_EQ(table_.entry(0).driveLetter, 'E');
    EXPECT_FALSE(table_.detecting());
}

TEST_F(DeviceTableTest, DevicesBeyondTheTablesEntriesAreDropped)
{
    std::vector<std::pair<char, uint8_t>> many;
    for (int i = 0; i < 30; ++i) many.emplace_back(static_cast<char>('A' + i % 26), kModelHd);
    FakeDetection::Attach(many);

    table_.Rebuild("");
    EXPECT_EQ(table_.count(), DeviceTable::kCapacity);
}

TEST_F(DeviceTableTest, SelectionOutsideTheTableIsRefusedAndAnUnusedEntryIsNoDevice)
{
    FakeDetection::Attach({{'E', kModelHd}});
    table_.Rebuild("");

    EXPECT_FALSE(table_.Select(-1));
    EXPECT_FALSE(table_.Select(DeviceTable::kCapacity));
    EXPECT_EQ(table_.selectedIndex(), 0);
    ASSERT_TRUE(table_.Select(3));
    EXPECT_EQ(table_.SelectedEntry(), nullptr);
}

// Detection may show a modal dialog, whose event loop can deliver another click on the tray icon.
TEST_F(DeviceTableTest, RebuildInsideARebuildChangesNothing)
{
    FakeDetection::Attach({{'E', kModelHd}, {'G', kModelPj}});
    bool detectingInside = false;
    bool nested = false;
    int32_t nestedResult = -1;
    FakeDetection::whileDetecting = [&] {
        if (std::exchange(nested, true)) return;
        detectingInside = table_.detecting();
        nestedResult = table_.Rebuild("");
    };

    EXPECT_EQ(table_.Rebuild(""), 1);
    EXPECT_TRUE(detectingInside);
    EXPECT_EQ(nestedResult, 0);
    EXPECT_EQ(FakeDetection::calls, 1);
    EXPECT_EQ(table_.count(), 2);
    EXPECT_FALSE(table_.detecting());
}

}  // namespace
}  // namespace trayhost
