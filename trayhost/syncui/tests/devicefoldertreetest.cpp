#include "trayhost/syncui/devicefoldertree.h"

#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace trayhost {
namespace {

std::vector<std::string> NamesOf(const std::vector<DeviceFolderNode>& nodes)
{
    std::vector<std::string> names;
    for (const DeviceFolderNode& node : nodes) names.push_back(node.name);
    return names;
}

// The start folder's path, or "" when none is marked.
std::string StartOf(const DeviceFolderNode& node)
{
    if (node.isStart) return node.path;
    for (const DeviceFolderNode& child : node.children) {
        if (std::string start = StartOf(child); !start.empty()) return start;
    }
    return {};
}

class DeviceFolderTreeTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"zeta", "Music/Rock/Live", "Alpha", "Music/Jazz", "beta", "Music/Pop"}) {
            device_.MakeFolder(folder);
        }
        device_.WriteFile("Music/song.mp3", "x");
        device_.WriteFile("Music/Rock/b.mp3", "x");
        device_.WriteFile("Music/Rock/A.mp3", "x");
    }

    testsupport::TemporaryDevice device_{'E'};
};

// Every level in the list's order, whatever order the disk lists them in.
TEST_F(DeviceFolderTreeTest, FoldersOfEveryLevelSortedByNameAsTheListIs)
{
    device_.MakeFolder("Music/alternative");
    const DeviceFolderTree tree = ReadDeviceFolderTree("E:\\", true);
    ASSERT_EQ(tree.state, DeviceFolderTree::State::Filled);
    EXPECT_EQ(tree.root.name, "E:\\");
    EXPECT_EQ(tree.root.path, "E:\\");
    EXPECT_EQ(NamesOf(tree.root.children), (std::vector<std::string>{"Alpha", "beta", "Music", "zeta"}));
    const DeviceFolderNode& music = tree.root.children[2];
    EXPECT_EQ(music.path, "E:\\Music");
    EXPECT_EQ(NamesOf(music.children), (std::vector<std::string>{"alternative", "Jazz", "Pop", "Rock"}));
    std::vector<std::string> listed;
    for (const DeviceFolderEntry& entry : ListDeviceFolder("E:\\Music")) {
        if (entry.isFolder) listed.push_back(entry.name);
    }
    EXPECT_EQ(listed, NamesOf(music.children));
}

TEST_F(DeviceFolderTreeTest, LinksToFoldersAreNotWalked)
{
    // Two links back up the tree would make the walk endless.
    for (const char* link : {"Music/Rock/up", "Music/Rock/Live/up"}) {
        std::filesystem::create_directory_symlink(device_.LinuxPath("Music"), device_.LinuxPath(link));
    }
    const DeviceFolderTree tree = ReadDeviceFolderTree("E:\\", false);
    const std::vector<DeviceFolderNode>& music = tree.root.children[2].children;
    const auto rock = std::find_if(music.begin(), music.end(), [](const auto& node) { return node.name == "Rock"; });
    ASSERT_NE(rock, music.end());
    EXPECT_EQ(NamesOf(rock->children), std::vector<std::string>{"Live"});
    EXPECT_TRUE(rock->children.front().children.empty());
}

TEST_F(DeviceFolderTreeTest, StartFolder)
{
    struct Case {
        const char* startPath;
        bool findStart;
        const char* start;
    };
    const Case cases[] = {
        {"E:\\Music\\Rock", true, "E:\\Music\\Rock"},
        {"e:\\MUSIC\\rock\\live", true, "e:\\Music\\Rock\\Live"},  // the drive as the start path writes it
        {"E:\\Music\\song.mp3", true, ""},  // a file: no folder matches
        {"E:\\Music\\Rock", false, ""},     // a refresh looks for none
        {"E:\\Missing", true, ""},
    };
    for (const Case& c : cases) {
        const DeviceFolderTree tree = ReadDeviceFolderTree(c.startPath, c.findStart);
        ASSERT_EQ(tree.state, DeviceFolderTree::State::Filled) << c.startPath;
        EXPECT_EQ(StartOf(tree.root), c.start) << c.startPath;
    }
}

TEST_F(DeviceFolderTreeTest, NothingWithoutAStartPathAndNoDeviceOnAnEmptyDrive)
{
    EXPECT_EQ(ReadDeviceFolderTree("", true).state, DeviceFolderTree::State::Empty);
    EXPECT_EQ(ReadDeviceFolderTree("Q:\\Music", true).state, DeviceFolderTree::State::NoDevice);
    device_.Unplug();
    EXPECT_EQ(ReadDeviceFolderTree("E:\\Music", true).state, DeviceFolderTree::State::NoDevice);
}

TEST_F(DeviceFolderTreeTest, FolderListsFoldersFirstThenNamesWithoutRegardToCase)
{
    std::vector<std::string> entries;
    for (const DeviceFolderEntry& entry : ListDeviceFolder("E:\\Music\\Rock")) {
        entries.push_back(entry.path + (entry.isFolder ? " folder" : ""));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"E:\\Music\\Rock\\Live folder", "E:\\Music\\Rock\\A.mp3",
                                                 "E:\\Music\\Rock\\b.mp3"}));
    EXPECT_TRUE(ListDeviceFolder("E:\\Missing").empty());
}

TEST_F(DeviceFolderTreeTest, NewFolderProposalTakesTheFirstFreeNumber)
{
    struct Case {
        std::vector<const char*> existing;
        const char* proposal;
    };
    const Case cases[] = {
        {{}, "Folder 1"},
        {{"Folder 1", "Folder 2"}, "Folder 3"},
        {{"Folder 2"}, "Folder 1"},
        {{"folder 1"}, "Folder 2"},  // names compare without regard to case
    };
    int round = 0;
    for (const Case& c : cases) {
        const std::string parent = "New" + std::to_string(++round);
        device_.MakeFolder(parent);
        for (const char* name : c.existing) device_.MakeFolder(parent + "/" + name);
        EXPECT_EQ(ProposeNewFolderName("E:\\" + parent + "\\"), c.proposal) << round;
    }
}

}  // namespace
}  // namespace trayhost
