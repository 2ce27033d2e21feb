#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

// What a device may hold that a Windows tree cannot: FIFOs, symbolic links, names outside the code
// page, and a file system that is unmounted under a mapped drive.
namespace {

using namespace platform;
using testsupport::TemporaryDevice;

class HostileTreeTest : public ::testing::Test {
protected:
    std::optional<FolderEntry> Listed(const std::string& name) const
    {
        const std::optional<std::vector<FolderEntry>> entries = FindFiles("E:\\*.*", ListingDetail::Quick);
        if (!entries) return std::nullopt;
        for (const FolderEntry& entry : *entries) {
            if (entry.name == name) return entry;
        }
        return std::nullopt;
    }

    static uint32_t OpenError(const std::string& path, File::Mode mode)
    {
        uint32_t error = kErrorSuccess;
        File::TryOpen(path, mode, &error);
        return error;
    }

    TemporaryDevice device_{'E'};
    TemporaryDevice outside_{'O'};
};

TEST_F(HostileTreeTest, AFifoIsRefusedAtOnceAndNeverBlocks)
{
    ASSERT_EQ(mkfifo(device_.LinuxPath("x.mp3").c_str(), 0644), 0);
    EXPECT_EQ(OpenError("E:\\x.mp3", File::Mode::Read), kErrorAccessDenied);
    EXPECT_EQ(OpenError("E:\\x.mp3", File::Mode::CreateTruncate), kErrorAccessDenied);
    device_.WriteFile("song.mp3", "s");
    EXPECT_FALSE(CopyFile("E:\\x.mp3", "E:\\copy.mp3", false));
    EXPECT_FALSE(CopyFile("E:\\song.mp3", "E:\\x.mp3", false));
    const std::optional<FolderEntry> fifo = Listed("x.mp3");
    ASSERT_TRUE(fifo.has_value());
    EXPECT_FALSE(fifo->IsFolder());
    EXPECT_FALSE(fifo->IsRegularFile());
}

// Links are listed as what they point to, marked as links, so that walks can pass them by.
TEST_F(HostileTreeTest, LinksAreListedAsWhatTheyPointToAndMarked)
{
    device_.WriteFile("Music/a.mp3", "a");
    outside_.WriteFile("secret.mp3", "s");
    ASSERT_EQ(symlink(device_.directory().c_str(), device_.LinuxPath("up").c_str()), 0);
    ASSERT_EQ(symlink(outside_.LinuxPath("secret.mp3").c_str(), device_.LinuxPath("linked.mp3").c_str()), 0);
    ASSERT_EQ(symlink("/nowhere", device_.LinuxPath("dangling.mp3").c_str()), 0);

    struct Case {
        const char* name;
        bool folder;
        bool link;
        bool regularFile;
    };
    for (const Case& c : {Case{"Music", true, false, false}, Case{"up", true, true, false},
                          Case{"linked.mp3", false, true, true}, Case{"dangling.mp3", false, true, false}}) {
        const std::optional<FolderEntry> entry = Listed(c.name);
        ASSERT_TRUE(entry.has_value()) << c.name;
        EXPECT_EQ(entry->IsFolder(), c.folder) << c.name;
        EXPECT_EQ(entry->IsLink(), c.link) << c.name;
        EXPECT_EQ(entry->IsRegularFile(), c.regularFile) << c.name;
        EXPECT_EQ(entry->IsFolderToWalk(), c.folder && !c.link) << c.name;
    }
    // A link to a file reads as the file, but nothing is written through it.
    EXPECT_EQ(OpenError("E:\\linked.mp3", File::Mode::Read), kErrorSuccess);
    EXPECT_EQ(OpenError("E:\\linked.mp3", File::Mode::CreateTruncate), kErrorAccessDenied);
    EXPECT_FALSE(CopyFile("E:\\Music\\a.mp3", "E:\\linked.mp3", false));
    EXPECT_EQ(outside_.ReadFile("secret.mp3"), "s");
}

TEST_F(HostileTreeTest, NamesOutsideTheCodePageKeepTheirOwnSpelling)
{
    device_.WriteFile("日本.mp3", "a");
    device_.WriteFile("café.mp3", "b");
    const std::optional<FolderEntry> lost = Listed("??.mp3");
    ASSERT_TRUE(lost.has_value());
    EXPECT_TRUE(lost->NameLostCharacters());
    EXPECT_EQ(lost->fileSystemName, "日本.mp3");
    const std::optional<FolderEntry> kept = Listed(CodePage::System().FromUtf8("café.mp3"));
    ASSERT_TRUE(kept.has_value());
    EXPECT_FALSE(kept->NameLostCharacters());
}

// A scan opens the files of a listing by their names in the open folder, with the same refusals as
// an open by path.
TEST_F(HostileTreeTest, AFolderOpensWhatItsListingGaveAsAnOpenByPathWould)
{
    device_.WriteFile("song.mp3", "song");
    device_.WriteFile("日本.mp3", "nihon");
    device_.WriteFile("Music/a.mp3", "a");
    outside_.WriteFile("secret.mp3", "secret");
    ASSERT_EQ(symlink(outside_.LinuxPath("secret.mp3").c_str(), device_.LinuxPath("linked.mp3").c_str()), 0);
    ASSERT_EQ(mkfifo(device_.LinuxPath("x.mp3").c_str(), 0644), 0);
    const std::optional<Folder> folder = Folder::Open("E:\\");
    ASSERT_TRUE(folder.has_value());

    struct Case {
        std::string listedName;
        std::optional<std::string> content;  // nothing: refused with kErrorAccessDenied
    };
    for (const Case& c : {Case{"song.mp3", "song"}, Case{"??.mp3", "nihon"}, Case{"linked.mp3", "secret"},
                          Case{"x.mp3", std::nullopt}, Case{"Music", std::nullopt}}) {
        const std::optional<FolderEntry> entry = Listed(c.listedName);
        ASSERT_TRUE(entry.has_value()) << c.listedName;
        std::optional<File> file = folder->OpenForReading(*entry, "E:\\" + c.listedName);
        ASSERT_EQ(file.has_value(), c.content.has_value()) << c.listedName;
        if (!file) {
            EXPECT_EQ(GetLastError(), kErrorAccessDenied) << c.listedName;
            continue;
        }
        std::string bytes(16, '\0');
        bytes.resize(file->Read(bytes.data(), bytes.size()));
        EXPECT_EQ(bytes, *c.content) << c.listedName;
    }
    EXPECT_FALSE(Folder::Open("E:\\Missing").has_value());
    EXPECT_EQ(GetLastError(), kErrorPathNotFound);
}

// A scan lists each folder through the Folder it then reads the files of: the same entries, links
// and names the code page lacks included, in both details, and again when listed a second time.
TEST_F(HostileTreeTest, AnOpenFolderListsWhatFindFilesLists)
{
    device_.WriteFile("Music/a.mp3", "a");
    device_.WriteFile("Music/B.MP3", "b");
    device_.WriteFile("\u65e5\u672c/c.mp3", "c");
    ASSERT_EQ(mkfifo(device_.LinuxPath("x.mp3").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/nowhere", device_.LinuxPath("dangling.mp3").c_str()), 0);

    const auto names = [](const std::optional<std::vector<FolderEntry>>& listing) {
        std::vector<std::string> all;
        for (const FolderEntry& entry : listing.value_or(std::vector<FolderEntry>{})) {
            all.push_back(entry.name + "|" + entry.fileSystemName + "|" + std::to_string(entry.attributes));
        }
        std::sort(all.begin(), all.end());
        return all;
    };
    for (const std::string folder : {"E:", "E:\\", "E:\\Music", "E:\\??"}) {
        for (const ListingDetail detail : {ListingDetail::Quick, ListingDetail::Full}) {
            const std::string pattern = folder.ends_with('\\') ? folder + "*.mp3" : folder + "\\*.mp3";
            std::optional<Folder> opened = Folder::Open(folder);
            ASSERT_TRUE(opened) << folder;
            const auto expected = names(FindFiles(pattern, detail));
            EXPECT_EQ(names(opened->List("*.mp3", detail)), expected) << folder;
            EXPECT_EQ(names(opened->List("*.mp3", detail)), expected) << folder << ", listed again";
        }
    }
}

// A count passes the names a listing would not convert, and must still count what it lists.
TEST_F(HostileTreeTest, ACountOfAFolderSaysWhatItsListingSays)
{
    device_.WriteFile("Music/a.mp3", "a");
    device_.WriteFile("\u65e5\u672c/b.mp3", "b");
    outside_.WriteFile("Tree/c.mp3", "c");
    ASSERT_EQ(mkfifo(device_.LinuxPath("x.mp3").c_str(), 0644), 0);
    ASSERT_EQ(symlink(outside_.LinuxPath("Tree").c_str(), device_.LinuxPath("tree").c_str()), 0);
    ASSERT_EQ(symlink("/nowhere", device_.LinuxPath("dangling.mp3").c_str()), 0);

    for (const std::string folder : {"E:", "E:\\Music", "E:\\??"}) {
        const std::optional<std::vector<FolderEntry>> listing = FindFiles(folder + "\\*.*", ListingDetail::Quick);
        const std::optional<FolderCount> count = CountFolder(folder);
        ASSERT_TRUE(listing && count) << folder;
        std::vector<std::string> toWalk;
        int64_t entries = 0;
        for (const FolderEntry& entry : *listing) {
            if (entry.name == "." || entry.name == "..") continue;
            ++entries;
            if (entry.IsFolderToWalk()) toWalk.push_back(entry.name);
        }
        EXPECT_EQ(count->entries, entries) << folder;
        EXPECT_EQ(count->foldersToWalk, toWalk) << folder;
    }
    const TemporaryDevice empty('F');
    EXPECT_FALSE(CountFolder("F:\\"));
}

TEST(DeviceIdentityTest, ADeviceUnmountedLazilyIsGoneAndItsMountPointIsNeverWritten)
{
    TemporaryDevice device('F', 256 * 1024);
    if (!device.IsSizeLimited()) GTEST_SKIP() << "needs root to mount and unmount a tmpfs";
    device.WriteFile("a.mp3", "a");
    ASSERT_NE(GetFileAttributes("F:."), kInvalidAttributes);

    device.UnmountLazily();
    EXPECT_EQ(GetFileAttributes("F:."), kInvalidAttributes);
    EXPECT_EQ(GetLastError(), kErrorNotReady);
    EXPECT_FALSE(GetDiskFreeSpace("F:\\").has_value());
    EXPECT_FALSE(CreateDirectory("F:\\kovahdd"));
    EXPECT_EQ(GetLastError(), kErrorNotReady);
    EXPECT_FALSE(File::TryOpen("F:\\pfr.bin", File::Mode::CreateTruncate).has_value());
    EXPECT_FALSE(device.Exists("kovahdd"));
    EXPECT_FALSE(device.Exists("pfr.bin"));
}

}  // namespace
