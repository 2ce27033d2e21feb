#include "trayhost/sync/syncpaths.h"
#include "trayhost/sync/syncrecordmap.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace trayhost {
namespace {

class SyncPathsTest : public testing::Test {
protected:
    void SetUp() override
    {
        device_.MakeFolder("Music");
        device_.WriteFile("Music/song.mp3", "x");
        device_.WriteFile("Music/noext", "x");
    }

    testsupport::TemporaryDevice pc_{'P'};
    testsupport::TemporaryDevice device_{'E'};
};

struct FilePathCase {
    const char* path;
    bool isFile;
    std::optional<std::size_t> nameOffset;  // empty: left as it was
};

TEST_F(SyncPathsTest, TellsFilesFromFolders)
{
    const FilePathCase cases[] = {
        {"E:\\Music", false, std::nullopt},             // an existing folder, whatever its name
        {"E:\\Music\\noext", true, 9},                   // an existing file without a dot
        {"E:\\New Folder", false, std::nullopt},         // missing: the "\" comes last
        {"E:\\New.Folder", true, 3},                     // missing: the "." comes last
        {"E:\\New.d\\", false, std::nullopt},            // missing, ending in "\"
        {"song.mp3", true, 0},                           // missing, a name alone
        {"Q:", true, std::nullopt},                      // missing, with neither "\" nor "."
    };
    for (const FilePathCase& c : cases) {
        SCOPED_TRACE(c.path);
        std::size_t offset = 99;
        EXPECT_EQ(IsFilePath(c.path, &offset), c.isFile);
        EXPECT_EQ(offset, c.nameOffset.value_or(99));
    }
}

TEST_F(SyncPathsTest, TakesTheTypesOfAnItemsPathsFromWhatExists)
{
    pc_.MakeFolder("R.E.M.");
    pc_.WriteFile("readme", "x");
    device_.MakeFolder("Vol. 1");
    device_.WriteFile("R.E.M.", "x");
    struct Case {
        const char* pcPath;
        const char* devicePath;
        bool pcIsFile;
        bool deviceIsFile;
    };
    const Case cases[] = {
        {"P:\\R.E.M.", "E:\\Gone\\R.E.M.", false, false},  // a dotted folder makes its missing counterpart one
        {"P:\\Vol. 1", "E:\\Vol. 1", false, false},         // the same from the device's side
        {"P:\\readme", "E:\\readme", true, true},           // a file without a dot, and its missing copy
        {"P:\\R.E.M.", "E:\\R.E.M.", false, true},          // both there: each is what it is
        {"P:\\x.mp3", "E:\\New", true, false},              // neither there: their texts decide
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pcPath);
        const ItemPathTypes types = TypesOfItemPaths(c.pcPath, c.devicePath);
        EXPECT_EQ(types.pcIsFile, c.pcIsFile);
        EXPECT_EQ(types.deviceIsFile, c.deviceIsFile);
    }
}

TEST_F(SyncPathsTest, ABackslashInsideADoubleByteCharacterIsNoSeparator)
{
    platform::CodePage::SetSystem(932);
    // 0x83 0x5C is one character whose second byte is "\"; the name is "\x83\x5C.txt".
    const std::string path = "E:\\New\\\x83\x5C.txt";
    std::size_t offset = 0;
    EXPECT_TRUE(IsFilePath(path, &offset));
    EXPECT_EQ(offset, 7u);
    EXPECT_TRUE(IsFilePath("E:\\a\\b.\x83\x5C"));  // the "." comes after the last separator
    // Lower-casing leaves the second byte of a character alone: 0x83 0x41 is a katakana "a".
    EXPECT_EQ(SyncRecordMap::KeyOf("E:\\\x83\x41.MP3"), "e:\\\x83\x41.mp3");
    platform::CodePage::SetSystem(1252);
}

TEST_F(SyncPathsTest, TrimsSpacesOnly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"  E:\\Music  ", "E:\\Music"}, {"   ", "   "}, {"", ""}, {"\tE:\\a", "\tE:\\a"}, {"E:\\a b", "E:\\a b"},
    };
    for (auto [text, trimmed] : cases) {
        TrimSpaces(text);
        EXPECT_EQ(text, trimmed);
    }
}

TEST_F(SyncPathsTest, CreatesTheFolderLevelsOfAPath)
{
    EXPECT_TRUE(CreateFolderPath("E:\\New\\Sub\\song.mp3"));
    EXPECT_TRUE(device_.Exists("New/Sub"));
    EXPECT_FALSE(device_.Exists("New/Sub/song.mp3"));
    EXPECT_TRUE(CreateFolderPath("E:\\Music\\Deeper"));
    EXPECT_TRUE(device_.Exists("Music/Deeper"));
    EXPECT_TRUE(CreateFolderPath("E:\\Vol. 1\\Disc 2"));  // a level before the last is a folder, dotted or not
    EXPECT_TRUE(device_.Exists("Vol. 1/Disc 2"));
    EXPECT_TRUE(CreateFolderAndParents("E:\\B.B. King\\Mr. Big"));
    EXPECT_TRUE(device_.Exists("B.B. King/Mr. Big"));

    uint32_t error = 0;
    EXPECT_FALSE(CreateFolderPath("E:\\Music\\noext\\Below", &error));  // a file stands in the way
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(CreateFolderPath("Q:\\Unmapped", &error));
    EXPECT_EQ(error, platform::kErrorPathNotFound);
}

TEST_F(SyncPathsTest, KnowsDriveRootsAndTheDeviceFolder)
{
    EXPECT_TRUE(IsDriveRoot("E:"));
    EXPECT_TRUE(IsDriveRoot("e:\\"));
    EXPECT_FALSE(IsDriveRoot("E:\\Music"));
    EXPECT_FALSE(IsDriveRoot("Q:\\"));  // no such drive
    EXPECT_FALSE(IsDriveRoot("1:\\"));

    EXPECT_TRUE(IsInDeviceSystemFolder('E', "E:\\kovahdd"));
    EXPECT_TRUE(IsInDeviceSystemFolder('E', "e:\\KOVAHDD\\sys_playlist"));
    EXPECT_FALSE(IsInDeviceSystemFolder('E', "E:\\kovahdd_playlists"));
    EXPECT_FALSE(IsInDeviceSystemFolder('E', "F:\\kovahdd"));
    EXPECT_FALSE(IsInDeviceSystemFolder('E', ""));
}

}  // namespace
}  // namespace trayhost
