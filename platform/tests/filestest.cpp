#include "platform/drivemap.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using namespace platform;
using testsupport::TemporaryDevice;

constexpr int64_t kSomeTime = 1'000'000'000;  // 2001-09-09, whole seconds

class FilesTest : public ::testing::Test {
protected:
    TemporaryDevice device_{'E'};

    static std::vector<std::string> Names(const std::vector<FolderEntry>& entries)
    {
        std::vector<std::string> names;
        for (const FolderEntry& entry : entries) names.push_back(entry.name);
        return names;
    }

    static std::vector<std::string> SortedNames(const std::string& pattern)
    {
        const std::optional<std::vector<FolderEntry>> found = FindFiles(pattern);
        if (!found) return {};
        std::vector<std::string> names = Names(*found);
        std::sort(names.begin(), names.end());
        return names;
    }

    static bool HasXattrs(const std::string& linuxPath)
    {
        return setxattr(linuxPath.c_str(), "user.kovaprobe", "1", 1, 0) == 0 || errno != ENOTSUP;
    }
};

TEST_F(FilesTest, EmptyRootFindsNothing)
{
    SetLastError(0);
    EXPECT_FALSE(FindFiles("E:\\*.*").has_value());
    EXPECT_EQ(GetLastError(), kErrorFileNotFound);
}

TEST_F(FilesTest, SubFolderListsDotsFirstAndRootDoesNot)
{
    device_.WriteFile("Music/b.mp3", "bb");
    device_.WriteFile("top.txt", "t");
    const std::optional<std::vector<FolderEntry>> folder = FindFiles("E:\\MUSIC\\*.*");
    ASSERT_TRUE(folder.has_value());
    ASSERT_EQ(folder->size(), 3u);
    EXPECT_EQ((*folder)[0].name, ".");
    EXPECT_EQ((*folder)[1].name, "..");
    EXPECT_TRUE((*folder)[0].IsFolder());
    EXPECT_EQ((*folder)[2].name, "b.mp3");
    EXPECT_EQ((*folder)[2].size, 2u);
    EXPECT_EQ(SortedNames("E:*.*"), (std::vector<std::string>{"Music", "top.txt"}));
    EXPECT_EQ(SortedNames("E:\\*.*"), (std::vector<std::string>{"Music", "top.txt"}));
}

TEST_F(FilesTest, PatternsMatchWithoutRegardToCase)
{
    for (const char* name : {"Song.MP3", "song.mp3.bak", "mp3", "noext", "a.b.wma"}) device_.WriteFile(name, "x");
    EXPECT_EQ(SortedNames("E:\\*.mp3"), (std::vector<std::string>{"Song.MP3"}));
    EXPECT_EQ(SortedNames("E:\\*.*").size(), 5u);
    EXPECT_EQ(SortedNames("E:\\*"), SortedNames("E:\\*.*"));
    EXPECT_EQ(SortedNames("E:\\s*.M?3"), (std::vector<std::string>{"Song.MP3"}));
    EXPECT_EQ(SortedNames("E:\\NOEXT"), (std::vector<std::string>{"noext"}));
    EXPECT_EQ(SortedNames("E:\\*.WMA"), (std::vector<std::string>{"a.b.wma"}));
}

TEST_F(FilesTest, ListingReportsHiddenEntriesSizesAndTimes)
{
    device_.WriteFile("Music/secret.mp3", "12345");
    ASSERT_TRUE(SetFileAttributes("E:\\Music\\secret.mp3", kAttributeHidden | kAttributeArchive));
    ASSERT_TRUE(SetLastWriteTime("E:\\Music\\secret.mp3", kSomeTime));
    const std::optional<std::vector<FolderEntry>> found = FindFiles("E:\\Music\\*.mp3");
    ASSERT_TRUE(found.has_value());
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ(found->front().attributes, kAttributeHidden | kAttributeArchive);
    EXPECT_EQ(found->front().size, 5u);
    EXPECT_EQ(found->front().lastWriteTime, kSomeTime);
}

TEST_F(FilesTest, MissingFolderListingIsPathNotFound)
{
    EXPECT_FALSE(FindFiles("E:\\Nowhere\\*.*").has_value());
    EXPECT_EQ(GetLastError(), kErrorPathNotFound);
}

TEST_F(FilesTest, AttributesRoundTrip)
{
    device_.WriteFile("a.mp3", "x");
    device_.MakeFolder("kovahdd");
    if (!HasXattrs(device_.LinuxPath("a.mp3"))) GTEST_SKIP() << "no extended attributes on this file system";

    EXPECT_EQ(GetFileAttributes("E:\\a.mp3"), kAttributeArchive);  // as a new file on Windows
    EXPECT_EQ(GetFileAttributes("E:\\KOVAHDD"), kAttributeDirectory);
    EXPECT_EQ(GetFileAttributes("E:\\"), kAttributeDirectory);

    ASSERT_TRUE(SetFileAttributes("E:\\a.mp3", kAttributeHidden | kAttributeSystem));
    EXPECT_EQ(GetFileAttributes("E:\\a.mp3"), kAttributeHidden | kAttributeSystem);
    ASSERT_TRUE(SetFileAttributes("E:\\a.mp3", kAttributeNormal));
    EXPECT_EQ(GetFileAttributes("E:\\a.mp3"), kAttributeNormal);
    ASSERT_TRUE(SetFileAttributes("E:\\kovahdd", kAttributeHidden | kAttributeDirectory));
    EXPECT_EQ(GetFileAttributes("E:\\kovahdd"), kAttributeHidden | kAttributeDirectory);
}

TEST_F(FilesTest, StoredAttributesUseWinesText)
{
    device_.WriteFile("a.mp3", "x");
    const std::string linuxPath = device_.LinuxPath("a.mp3");
    if (!HasXattrs(linuxPath)) GTEST_SKIP() << "no extended attributes on this file system";

    ASSERT_TRUE(SetFileAttributes("E:\\a.mp3", kAttributeHidden | kAttributeArchive));
    char text[16] = {};
    ASSERT_EQ(getxattr(linuxPath.c_str(), "user.DOSATTRIB", text, sizeof text), 4);
    EXPECT_STREQ(text, "0x22");

    // Samba follows the text with a NUL and a binary record.
    ASSERT_EQ(setxattr(linuxPath.c_str(), "user.DOSATTRIB", "0x6\0\1\2", 6, 0), 0);
    EXPECT_EQ(GetFileAttributes("E:\\a.mp3"), kAttributeHidden | kAttributeSystem);
}

TEST_F(FilesTest, ReadOnlyIsTheWriteBitsAndIsHonouredEvenForRoot)
{
    device_.WriteFile("ro.mp3", "keep");
    ASSERT_TRUE(SetFileAttributes("E:\\ro.mp3", kAttributeReadOnly | kAttributeArchive));
    struct stat status {};
    ASSERT_EQ(stat(device_.LinuxPath("ro.mp3").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0222, 0u);
    EXPECT_EQ(GetFileAttributes("E:\\ro.mp3") & kAttributeReadOnly, kAttributeReadOnly);

    uint32_t error = 0;
    EXPECT_FALSE(File::TryOpen("E:\\ro.mp3", File::Mode::Write, &error).has_value());
    EXPECT_EQ(error, kErrorAccessDenied);
    EXPECT_FALSE(DeleteFile("E:\\ro.mp3"));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(File::TryOpen("E:\\ro.mp3", File::Mode::Read).has_value());

    ASSERT_TRUE(SetFileAttributes("E:\\ro.mp3", kAttributeArchive));
    EXPECT_TRUE(DeleteFile("E:\\ro.mp3"));
}

TEST_F(FilesTest, FailedAttributeReadIsNotWrittenBack)
{
    device_.WriteFile("a.mp3", "x");
    EXPECT_FALSE(SetFileAttributes("E:\\a.mp3", kInvalidAttributes | kAttributeHidden));
    EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
    EXPECT_EQ(GetFileAttributes("E:\\a.mp3") & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem), 0u);
}

TEST_F(FilesTest, CreateDirectoryReportsAnExistingFolder)
{
    device_.MakeFolder("Music");
    EXPECT_TRUE(CreateDirectory("E:\\Music\\New"));
    EXPECT_TRUE(device_.Exists("Music/New"));
    EXPECT_FALSE(CreateDirectory("E:\\MUSIC"));
    EXPECT_EQ(GetLastError(), kErrorAlreadyExists);
    EXPECT_FALSE(CreateDirectory("E:\\Missing\\Child"));
    EXPECT_EQ(GetLastError(), kErrorPathNotFound);
}

TEST_F(FilesTest, RemoveDirectoryRefusesAFolderWithContent)
{
    device_.WriteFile("Full/a.mp3", "x");
    EXPECT_FALSE(RemoveDirectory("E:\\Full"));
    EXPECT_EQ(GetLastError(), kErrorDirNotEmpty);
    ASSERT_TRUE(DeleteFile("E:\\FULL\\A.MP3"));
    EXPECT_TRUE(RemoveDirectory("E:\\full"));
    EXPECT_FALSE(device_.Exists("Full"));
}

TEST_F(FilesTest, MissingFileAndMissingFolderAreTold)
{
    device_.MakeFolder("Music");
    EXPECT_EQ(GetFileAttributes("E:\\Music\\none.mp3"), kInvalidAttributes);
    EXPECT_EQ(GetLastError(), kErrorFileNotFound);
    EXPECT_EQ(GetFileAttributes("E:\\None\\none.mp3"), kInvalidAttributes);
    EXPECT_EQ(GetLastError(), kErrorPathNotFound);
    EXPECT_FALSE(FileExists("E:\\Music\\none.mp3"));
    EXPECT_TRUE(FileExists("E:\\MUSIC"));
}

TEST_F(FilesTest, CopyCarriesContentTimeAndAttributes)
{
    device_.WriteFile("a.mp3", "content");
    ASSERT_TRUE(SetLastWriteTime("E:\\a.mp3", kSomeTime));
    ASSERT_TRUE(SetFileAttributes("E:\\a.mp3", kAttributeHidden | kAttributeArchive));

    ASSERT_TRUE(CopyFile("E:\\A.MP3", "E:\\b.mp3", true));
    EXPECT_EQ(device_.ReadFile("b.mp3"), "content");
    EXPECT_EQ(GetLastWriteTime("E:\\b.mp3"), kSomeTime);
    EXPECT_EQ(GetFileAttributes("E:\\b.mp3"), GetFileAttributes("E:\\a.mp3"));

    EXPECT_FALSE(CopyFile("E:\\a.mp3", "E:\\b.mp3", true));
    EXPECT_EQ(GetLastError(), kErrorFileExists);
    device_.WriteFile("a.mp3", "new");
    EXPECT_TRUE(CopyFile("E:\\a.mp3", "E:\\b.mp3", false));
    EXPECT_EQ(device_.ReadFile("b.mp3"), "new");
}

TEST_F(FilesTest, CopyRefusesReadOnlyTargetAndItself)
{
    device_.WriteFile("a.mp3", "source");
    device_.WriteFile("ro.mp3", "protected");
    ASSERT_TRUE(SetFileAttributes("E:\\ro.mp3", kAttributeReadOnly));
    EXPECT_FALSE(CopyFile("E:\\a.mp3", "E:\\ro.mp3", false));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_EQ(device_.ReadFile("ro.mp3"), "protected");

    EXPECT_FALSE(CopyFile("E:\\a.mp3", "E:\\A.MP3", false));
    EXPECT_EQ(GetLastError(), kErrorSharingViolation);
    EXPECT_EQ(device_.ReadFile("a.mp3"), "source");

    EXPECT_FALSE(CopyFile("E:\\none.mp3", "E:\\c.mp3", false));
    EXPECT_EQ(GetLastError(), kErrorFileNotFound);
}

TEST_F(FilesTest, MoveReplacesAndCanChangeOnlyTheCase)
{
    device_.WriteFile("a.mp3", "a");
    device_.WriteFile("b.mp3", "b");
    ASSERT_TRUE(MoveFileReplacing("E:\\a.mp3", "E:\\b.mp3"));
    EXPECT_FALSE(device_.Exists("a.mp3"));
    EXPECT_EQ(device_.ReadFile("b.mp3"), "a");

    ASSERT_TRUE(MoveFileReplacing("E:\\b.mp3", "E:\\B.MP3"));
    EXPECT_EQ(SortedNames("E:\\*.*"), (std::vector<std::string>{"B.MP3"}));
}

TEST_F(FilesTest, FreeSpaceOfAPresentDrive)
{
    const std::optional<uint64_t> free = GetDiskFreeSpace("E:\\");
    ASSERT_TRUE(free.has_value());
    EXPECT_GT(*free, 0u);
}

TEST_F(FilesTest, UnpluggedDeviceIsGone)
{
    device_.Unplug();
    EXPECT_EQ(GetFileAttributes("E:."), kInvalidAttributes);
    EXPECT_EQ(GetLastError(), kErrorPathNotFound);
    EXPECT_FALSE(GetDiskFreeSpace("E:").has_value());
}

TEST_F(FilesTest, FileReadsWritesAndSeeks)
{
    File file = File::Open("E:\\data.bin", File::Mode::CreateTruncate);
    file.Write("0123456789", 10);
    EXPECT_EQ(file.Length(), 10u);
    EXPECT_EQ(file.Seek(-4, File::Origin::End), 6u);
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 4u);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_THROW(file.Read(buffer, 1), FileError);
    EXPECT_EQ(device_.ReadFile("data.bin"), "0123456789");
}

TEST_F(FilesTest, OpenFailuresCarryTheirCodes)
{
    device_.MakeFolder("Folder");
    const auto codeOf = [](const std::string& path, File::Mode mode) {
        try {
            File::Open(path, mode);
        } catch (const FileError& error) {
            return error.code();
        }
        return kErrorSuccess;
    };
    EXPECT_EQ(codeOf("E:\\none.bin", File::Mode::Read), kErrorFileNotFound);
    EXPECT_EQ(codeOf("E:\\None\\x.bin", File::Mode::CreateTruncate), kErrorPathNotFound);
    EXPECT_EQ(codeOf("E:\\Folder", File::Mode::Read), kErrorAccessDenied);
    EXPECT_EQ(codeOf("Q:\\x.bin", File::Mode::Read), kErrorPathNotFound);
}

TEST(FullDiskTest, WritingPastTheEndOfASmallDeviceIsDiskFull)
{
    TemporaryDevice device('F', 64 * 1024);
    if (!device.IsSizeLimited()) GTEST_SKIP() << "a size-limited tmpfs needs root";
    File file = File::Open("F:\\big.bin", File::Mode::CreateTruncate);
    const std::string block(16 * 1024, 'x');
    try {
        for (int i = 0; i < 16; ++i) file.Write(block.data(), block.size());
        FAIL() << "the writes did not fill the device";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), kErrorDiskFull);
        EXPECT_EQ(error.path(), "F:\\big.bin");
        EXPECT_EQ(GetLastError(), kErrorDiskFull);
    }
}

TEST(FullDiskTest, FailedCopyLeavesNoPartialFile)
{
    TemporaryDevice source('E');
    TemporaryDevice small('F', 64 * 1024);
    if (!small.IsSizeLimited()) GTEST_SKIP() << "a size-limited tmpfs needs root";
    source.WriteFile("big.bin", std::string(256 * 1024, 'x'));
    EXPECT_FALSE(CopyFile("E:\\big.bin", "F:\\big.bin", false));
    EXPECT_EQ(GetLastError(), kErrorDiskFull);
    EXPECT_FALSE(small.Exists("big.bin"));
}

// A ramfs mapped as drive R:, a file system without extended attributes. Needs root.
class RamfsDrive {
public:
    RamfsDrive()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kovaramfs-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        directory_ = pattern;
        mounted_ = mount("ramfs", directory_.c_str(), "ramfs", 0, nullptr) == 0;
        if (!mounted_) return;
        DriveEntry entry;
        entry.letter = 'R';
        entry.directory = directory_;
        DriveMap::Instance().Assign(entry);
    }
    ~RamfsDrive()
    {
        if (mounted_) {
            DriveMap::Instance().Remove('R');
            umount(directory_.c_str());
        }
        if (!directory_.empty()) rmdir(directory_.c_str());
    }
    RamfsDrive(const RamfsDrive&) = delete;
    RamfsDrive& operator=(const RamfsDrive&) = delete;

    bool mounted() const { return mounted_; }
    void Touch(const std::string& name) const { std::ofstream(directory_ + "/" + name) << "x"; }

private:
    std::string directory_;
    bool mounted_ = false;
};

TEST(NoExtendedAttributesTest, LeadingDotReadsAsHidden)
{
    RamfsDrive drive;
    if (!drive.mounted()) GTEST_SKIP() << "mounting a ramfs needs root";
    drive.Touch(".config");
    drive.Touch("song.mp3");
    EXPECT_EQ(GetFileAttributes("R:\\.config"), kAttributeHidden | kAttributeArchive);
    EXPECT_EQ(GetFileAttributes("R:\\song.mp3"), kAttributeArchive);
    // The bits cannot be kept here; read-only still can, in the permission bits.
    EXPECT_TRUE(SetFileAttributes("R:\\song.mp3", kAttributeReadOnly | kAttributeSystem));
    EXPECT_EQ(GetFileAttributes("R:\\song.mp3"), kAttributeReadOnly | kAttributeArchive);
}

TEST(ErrorsTest, MessagesAreWindowsTexts)
{
    EXPECT_EQ(ErrorMessage(kErrorFileNotFound), "The system cannot find the file specified.");
    EXPECT_EQ(ErrorMessage(kErrorDiskFull), "There is not enough space on the disk.");
    EXPECT_EQ(ErrorMessage(4242), "Unknown error 4242.");
    EXPECT_EQ(ErrorFromErrno(ENOSPC), kErrorDiskFull);
    EXPECT_EQ(ErrorFromErrno(EROFS), kErrorWriteProtect);
    EXPECT_EQ(ErrorFromErrno(EEXIST), kErrorFileExists);
}

TEST(ErrorsTest, LastErrorBelongsToItsThread)
{
    SetLastError(kErrorAccessDenied);
    std::thread other([] { SetLastError(kErrorDiskFull); });
    other.join();
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
}

}  // namespace
