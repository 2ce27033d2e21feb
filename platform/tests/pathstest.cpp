#include "platform/codepage.h"
#include "platform/drivemap.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using platform::ToLinuxPath;
using testsupport::TemporaryDevice;

class PathResolutionTest : public ::testing::Test {
protected:
    TemporaryDevice device_{'E'};
};

TEST_F(PathResolutionTest, RootSpellingsNameTheDriveDirectory)
{
    for (const char* root : {"E:", "E:\\", "E:.", "e:\\.", "E:/", "E:\\..\\"}) {
        EXPECT_EQ(ToLinuxPath(root), device_.directory()) << root;
    }
}

TEST_F(PathResolutionTest, ComponentsMatchWithoutRegardToCase)
{
    device_.WriteFile("Music/a.mp3", "x");
    EXPECT_EQ(ToLinuxPath("E:\\MUSIC\\A.MP3"), device_.LinuxPath("Music/a.mp3"));
    EXPECT_EQ(ToLinuxPath("E:/music/a.Mp3"), device_.LinuxPath("Music/a.mp3"));
    EXPECT_EQ(ToLinuxPath("E:\\Music\\..\\MUSIC\\.\\a.mp3"), device_.LinuxPath("Music/a.mp3"));
}

TEST_F(PathResolutionTest, ExactSpellingWinsOverOtherCases)
{
    device_.WriteFile("Song.mp3", "upper");
    device_.WriteFile("song.mp3", "lower");
    EXPECT_EQ(ToLinuxPath("E:\\song.mp3"), device_.LinuxPath("song.mp3"));
    EXPECT_EQ(ToLinuxPath("E:\\Song.mp3"), device_.LinuxPath("Song.mp3"));
}

TEST_F(PathResolutionTest, MissingComponentsKeepTheCallersSpelling)
{
    device_.MakeFolder("Music");
    EXPECT_EQ(ToLinuxPath("E:\\MUSIC\\New\\B.mp3"), device_.LinuxPath("Music/New/B.mp3"));
    EXPECT_EQ(ToLinuxPath("E:\\Caf\xE9.mp3"), device_.LinuxPath("Caf\u00e9.mp3"));
}

TEST_F(PathResolutionTest, CodePageNamesFindUtf8Names)
{
    device_.WriteFile("Caf\u00e9 \u00dcber.mp3", "x");
    EXPECT_EQ(ToLinuxPath("E:\\CAF\xE9 \xDC" "BER.MP3"), device_.LinuxPath("Caf\u00e9 \u00dcber.mp3"));
}

TEST_F(PathResolutionTest, NameWithLostCharacterIsFoundFromItsConvertedForm)
{
    device_.WriteFile("a\u0101b.mp3", "x");
    const std::optional<std::vector<platform::FolderEntry>> listing = platform::FindFiles("E:\\*.*");
    ASSERT_TRUE(listing.has_value());
    ASSERT_EQ(listing->size(), 1u);
    EXPECT_EQ(listing->front().name, "a?b.mp3");
    EXPECT_EQ(ToLinuxPath("E:\\" + listing->front().name), device_.LinuxPath("a\u0101b.mp3"));
    EXPECT_EQ(ToLinuxPath("E:\\A?B.MP3"), device_.LinuxPath("a\u0101b.mp3"));
}

TEST_F(PathResolutionTest, UnmappedOrRelativePathsFailAsPathNotFound)
{
    for (const char* path : {"Q:\\x", "Music\\a.mp3", "", "E"}) {
        platform::SetLastError(0);
        EXPECT_FALSE(ToLinuxPath(path).has_value()) << path;
        EXPECT_EQ(platform::GetLastError(), platform::kErrorPathNotFound) << path;
    }
    device_.Unplug();
    EXPECT_FALSE(ToLinuxPath("E:\\").has_value());
    EXPECT_EQ(platform::GetLastError(), platform::kErrorPathNotFound);
}

TEST_F(PathResolutionTest, MappedDriveWithoutItsDirectoryIsNotReady)
{
    platform::DriveEntry gone;
    gone.letter = 'Q';
    gone.directory = device_.LinuxPath("never-made");
    platform::DriveMap::Instance().Assign(gone);
    EXPECT_FALSE(ToLinuxPath("Q:\\a.mp3").has_value());
    EXPECT_EQ(platform::GetLastError(), platform::kErrorNotReady);
    platform::DriveMap::Instance().Remove('Q');
}

TEST_F(PathResolutionTest, EmbeddedNulIsAnInvalidName)
{
    EXPECT_FALSE(ToLinuxPath(std::string("E:\\a\0b", 6)).has_value());
    EXPECT_EQ(platform::GetLastError(), platform::kErrorInvalidName);
}

TEST_F(PathResolutionTest, LinuxPathsGetTheirDriveLetter)
{
    device_.WriteFile("Music/Caf\u00e9.mp3", "x");
    EXPECT_EQ(platform::ToWindowsPath(device_.LinuxPath("Music/Caf\u00e9.mp3")), "E:\\Music\\Caf\xE9.mp3");
    EXPECT_EQ(platform::ToWindowsPath(device_.directory() + "/"), "E:\\");
    // A folder whose name merely begins like the drive's directory is not on the drive.
    std::string outside = device_.directory() + "x/a";
    std::replace(outside.begin(), outside.end(), '/', '\\');
    EXPECT_EQ(platform::ToWindowsPath(device_.directory() + "x/a"), "Z:" + outside);
}

TEST_F(PathResolutionTest, DoubleByteNameWithBackslashTrailResolves)
{
    platform::CodePage::SetSystem(932);
    device_.WriteFile("\u8868/a.txt", "x");
    const std::optional<std::string> resolved = ToLinuxPath("E:\\\x95\x5C\\A.TXT");
    platform::CodePage::SetSystem(1252);
    EXPECT_EQ(resolved, device_.LinuxPath("\u8868/a.txt"));
}

struct JoinCase {
    const char* folder;
    const char* name;
    const char* joined;
};

class JoinPathTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathTest, AddsOneBackslash)
{
    EXPECT_EQ(platform::JoinPath(GetParam().folder, GetParam().name), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(Parts, JoinPathTest,
                         ::testing::Values(JoinCase{"E:", "a.mp3", "E:\\a.mp3"}, JoinCase{"E:\\", "a.mp3", "E:\\a.mp3"},
                                           JoinCase{"E:\\Music", "a.mp3", "E:\\Music\\a.mp3"},
                                           JoinCase{"", "a.mp3", "a.mp3"}));

}  // namespace
