#include "trayhost/syncui/devicefoldertree.h"
#include "trayhost/syncui/droppedpaths.h"
#include "trayhost/syncui/itemconflicts.h"
#include "trayhost/syncui/syncoptionsrules.h"

#include "testsupport/devicetree.h"
#include "testsupport/scripteduserinterface.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace trayhost {
namespace {

// Folders of a made-up PC and device: C:\Music holds "Rock" and "a.mp3"; E:\Music holds "Rock".
std::vector<std::string> FakeEntries(const std::string& folder)
{
    static const std::map<std::string, std::vector<std::string>> kFolders{
        {"c:\\music", {"Rock", "a.mp3"}},
        {"e:\\music", {"Rock"}},
    };
    const auto found = kFolders.find(folder);
    return found == kFolders.end() ? std::vector<std::string>() : found->second;
}

struct ConflictCase {
    const char* name;
    SyncOption option;
    bool cleanup;
    std::vector<SyncPathPair> rows;
    std::optional<ItemConflict> conflict;
};

class ItemConflictTest : public testing::TestWithParam<ConflictCase> {};

TEST_P(ItemConflictTest, Finds)
{
    const ConflictCase& c = GetParam();
    EXPECT_EQ(FindItemConflict(c.rows, c.option, c.cleanup, FakeEntries), c.conflict);
}

const SyncPathPair kMusic{"C:\\Music", "E:\\Music"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemConflictTest,
    testing::Values(
        ConflictCase{"DistinctItems", SyncOption::SyncBoth, false, {kMusic, {"C:\\Video", "E:\\Video"}}, std::nullopt},
        ConflictCase{"BothWaysAFolderInsideAnotherItemsFolder", SyncOption::SyncBoth, false,
                     {kMusic, {"C:\\Music\\Rock", "E:\\Rock"}}, ItemConflict{1, ItemSide::Pc}},
        ConflictCase{"BothWaysNamesCompareWithoutCase", SyncOption::SyncBoth, false,
                     {kMusic, {"C:\\Video", "e:\\MUSIC"}}, ItemConflict{1, ItemSide::Device}},
        ConflictCase{"BothWaysAnEntryAnotherItemClaimsFromTheOtherSide", SyncOption::SyncBoth, false,
                     {{"C:\\Video", "E:\\Music\\Rock"}, kMusic}, ItemConflict{1, ItemSide::Device}},
        ConflictCase{"BothWaysWithoutDeviceTwoEmptyDevicePaths", SyncOption::SyncBoth, false,
                     {{"C:\\Music", ""}, {"C:\\Video", ""}}, ItemConflict{1, ItemSide::Device}},
        ConflictCase{"OneWaySamePcFolderTwiceWithCleanup", SyncOption::PcToDevice, true,
                     {kMusic, {"C:\\Music", "E:\\Other"}}, std::nullopt},
        ConflictCase{"OneWaySameDeviceFolderTwiceWithCleanup", SyncOption::PcToDevice, true,
                     {kMusic, {"C:\\Video", "E:\\Music"}}, ItemConflict{1, ItemSide::Device}},
        ConflictCase{"DeviceToPcSamePcFolderTwiceWithCleanup", SyncOption::DeviceToPc, true,
                     {kMusic, {"C:\\Music", "E:\\Other"}}, ItemConflict{1, ItemSide::Pc}},
        ConflictCase{"OneWayWithoutCleanupIdenticalRows", SyncOption::PcToDevice, false, {kMusic, kMusic},
                     std::nullopt},
        ConflictCase{"NoOptionIdenticalRows", SyncOption::Invalid, true, {kMusic, kMusic}, std::nullopt}),
    [](const testing::TestParamInfo<ConflictCase>& info) { return std::string(info.param.name); });

TEST(ItemConflictListingTest, ListsTheDirectEntriesOfAFolder)
{
    testsupport::TemporaryDevice pc('C');
    pc.WriteFile("Music/Rock/a.mp3", "x");
    pc.WriteFile("Music/b.mp3", "x");
    std::vector<std::string> names = ListedEntryNames()("c:\\music");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Rock", "b.mp3"}));
    EXPECT_TRUE(ListedEntryNames()("c:\\missing").empty());
}

class DroppedRowsTest : public testing::Test {
protected:
    void SetUp() override
    {
        pc_.MakeFolder("Music/Rock");
        pc_.WriteFile("Music/a.mp3", "x");
        device_.MakeFolder("Music");
    }

    DroppedRows Drop(const std::vector<SyncPathPair>& rows, const std::vector<std::string>& paths, char letter = 'E')
    {
        return PlanDroppedRows(rows, paths, letter, ui_, nullptr);
    }

    testsupport::TemporaryDevice pc_{'C'};
    testsupport::TemporaryDevice device_{'E'};
    testsupport::ScriptedUserInterface ui_;
};

TEST_F(DroppedRowsTest, FoldersFilesAndDriveRootsGoToTheTopOfTheDevice)
{
    const DroppedRows dropped = Drop({}, {"C:\\Music\\Rock", "C:\\Music\\a.mp3", "C:\\", "C:\\Missing"});
    EXPECT_EQ(dropped.added, (std::vector<SyncPathPair>{
                                 {"C:\\Music\\Rock", "E:\\Rock"}, {"C:\\Music\\a.mp3", "E:\\a.mp3"}, {"C:", "E:\\"}}));
    EXPECT_EQ(dropped.rowToSelect, 2u);
    EXPECT_TRUE(ui_.messageBoxes().empty());
}

TEST_F(DroppedRowsTest, AFolderAlreadyListedIsOnlySelected)
{
    const DroppedRows dropped = Drop({{"C:\\Other", "E:\\Other"}, {"c:\\MUSIC", "E:\\Music"}}, {"C:\\Music"});
    EXPECT_TRUE(dropped.added.empty());
    EXPECT_EQ(dropped.rowToSelect, 1u);
    // Dropped twice at once: the second finds the first.
    EXPECT_EQ(Drop({}, {"C:\\Music", "C:\\Music"}).added.size(), 1u);
}

TEST_F(DroppedRowsTest, APathOnTheDeviceItselfIsRefusedAndTheOthersStillAdded)
{
    const DroppedRows dropped = Drop({}, {"e:\\Music", "C:\\Music"});
    EXPECT_EQ(dropped.added, (std::vector<SyncPathPair>{{"C:\\Music", "E:\\Music"}}));
    ASSERT_EQ(ui_.messageBoxes().size(), 1u);
    EXPECT_EQ(ui_.messageBoxes()[0].text, "You can't synchronize a device to itself");
    EXPECT_EQ(ui_.messageBoxes()[0].title, "Warning");
    EXPECT_EQ(ui_.messageBoxes()[0].style, kMbOk | kMbIconExclamation);
}

TEST_F(DroppedRowsTest, NothingWithoutADevice)
{
    const DroppedRows dropped = Drop({}, {"C:\\Music"}, 0);
    EXPECT_TRUE(dropped.added.empty());
    EXPECT_FALSE(dropped.rowToSelect);
}

// Detection that reports the devices of the current test.
std::vector<std::pair<char, uint8_t>> gAttached;
int32_t Enumerate(KovaDetectionCallback callback, tagKOVAHDCONFLICTDIALOGINFO&, int32_t userData)
{
    for (const auto& [letter, model] : gAttached) callback(letter, model, userData);
    return static_cast<int32_t>(gAttached.size());
}

TEST(DeviceBoxTest, EntriesSortedByTextAndTheProfilesDeviceChosen)
{
    struct Case {
        std::vector<std::pair<char, uint8_t>> attached;
        char deviceLetter;
        std::vector<std::string> texts;
        std::optional<std::size_t> chosen;
    };
    const Case cases[] = {
        {{{'E', kModelPj}, {'G', kModelHd}}, 'G',
         {"Corvane Kova Personal Jukebox (E:)", "Vantor Kova MP3 Jukebox (G:)"}, 1},
        {{{'E', kModelHd}}, 'F', {"Vantor Kova MP3 Jukebox (E:)"}, 0},  // the only device
        {{{'E', kModelHd}, {'G', kModelHd}}, 'F', {"Vantor Kova MP3 Jukebox (E:)", "Vantor Kova MP3 Jukebox (G:)"},
         std::nullopt},
        {{}, 'E', {}, std::nullopt},
    };
    for (const Case& c : cases) {
        gAttached = c.attached;
        DeviceTable devices(&Enumerate);
        devices.Rebuild("");
        const std::vector<DeviceBoxEntry> entries = DeviceBoxEntries(devices);
        std::vector<std::string> texts;
        for (const DeviceBoxEntry& entry : entries) {
            texts.push_back(entry.text);
            EXPECT_EQ(entry.text.substr(entry.text.size() - 3, 1)[0], devices.entry(entry.tableIndex).driveLetter);
        }
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(ChosenDeviceEntry(entries, devices, c.deviceLetter), c.chosen);
    }
}

TEST(PathEditorExchangeTest, TheChosenDeviceOrNone)
{
    const DeviceTable::Entry device{'E', kModelPj};
    const SyncPathPair paths{"C:\\Music", "E:\\Music"};
    const PathEditorExchange inserted = MakePathEditorExchange(EditKind::Insert, &device, SyncOption::DeviceToPc, 3, {});
    EXPECT_EQ(inserted.deviceLabel, "Corvane Kova Personal Jukebox (E:)");
    EXPECT_EQ(inserted.deviceLetter, 'E');
    EXPECT_EQ(inserted.option, SyncOption::DeviceToPc);
    EXPECT_EQ(inserted.itemNumber, 3);
    EXPECT_TRUE(inserted.pcPath.empty() && inserted.devicePath.empty());

    EXPECT_EQ(MakePathEditorExchange(EditKind::Insert, nullptr, SyncOption::SyncBoth, 1, {}).deviceLabel, "");
    const PathEditorExchange edited = MakePathEditorExchange(EditKind::Edit, nullptr, SyncOption::Invalid, 2, paths);
    EXPECT_EQ(edited.deviceLabel, "(No Device Present)");
    EXPECT_EQ(edited.deviceLetter, 0);
    EXPECT_EQ(edited.pcPath, "C:\\Music");
    EXPECT_EQ(edited.devicePath, "E:\\Music");
}

TEST(CollectSyncSettingsTest, RowsReplaceTheItemsAndBothWaysKeepsTheCleanupChoice)
{
    SyncSettings settings;
    settings.items.push_back({{}, {}, "C:\\Old", "E:\\Old"});
    settings.fileCleanup = true;
    const std::string longPath = "C:\\" + std::string(300, 'x');
    CollectSyncSettings({'G', SyncOption::SyncBoth, false, false, {{longPath, "G:\\a"}, {"C:\\b", "G:\\b"}}},
                        settings);
    EXPECT_EQ(settings.deviceLetter, 'G');
    EXPECT_EQ(settings.option, SyncOption::SyncBoth);
    EXPECT_TRUE(settings.fileCleanup);
    EXPECT_FALSE(settings.profileAfterSync);
    ASSERT_EQ(settings.items.size(), 2u);
    EXPECT_EQ(settings.items[0].pcPath, longPath.substr(0, 260));
    EXPECT_EQ(settings.items[1].devicePath, "G:\\b");

    CollectSyncSettings({0, SyncOption::PcToDevice, false, true, {}}, settings);
    EXPECT_FALSE(settings.fileCleanup);
    EXPECT_EQ(settings.deviceLetter, 0);
    EXPECT_TRUE(settings.items.empty());
}

TEST(NewFolderParentTest, TheFolderChosenEndingWithABackslash)
{
    testsupport::TemporaryDevice device('E');
    device.MakeFolder("My.Folder");
    EXPECT_EQ(NewFolderParent("E:\\"), "E:\\");
    EXPECT_EQ(NewFolderParent("E:\\Music"), "E:\\Music\\");
    EXPECT_EQ(NewFolderParent("E:\\My.Folder"), "E:\\My.Folder\\");
    EXPECT_EQ(NewFolderParent("E:\\Gone.Folder"), "E:\\");  // no longer there, and taken for a file
}

}  // namespace
}  // namespace trayhost
