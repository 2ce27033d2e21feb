// Uses the engine only through the functions its library exports.

#include "engine/kovahddprofiler.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(ExportedFileExtensionTest, CopiesWhatFollowsTheLastDot)
{
    char extension[256] = "untouched";
    char song[] = "E:\\song.MP3";
    EXPECT_EQ(KOVAHDDProfilerGetFileExtension(song, extension), 1);
    EXPECT_STREQ(extension, "MP3");

    char twoDots[] = "a.b.wma";
    EXPECT_EQ(KOVAHDDProfilerGetFileExtension(twoDots, extension), 1);
    EXPECT_STREQ(extension, "wma");

    char dotInFolder[] = "E:\\a.b\\c";
    EXPECT_EQ(KOVAHDDProfilerGetFileExtension(dotInFolder, extension), 1);
    EXPECT_STREQ(extension, "b\\c");

    std::strcpy(extension, "untouched");
    char noDot[] = "E:\\readme";
    EXPECT_EQ(KOVAHDDProfilerGetFileExtension(noDot, extension), 0);
    EXPECT_STREQ(extension, "untouched");
    EXPECT_EQ(KOVAHDDProfilerGetFileExtension(nullptr, extension), 0);
    EXPECT_EQ(KOVAHDDProfilerGetFileExtension(noDot, nullptr), 0);
}

TEST(ExportedDevicePresenceTest, AnswersTheSameWithOrWithoutBackslash)
{
    testsupport::TemporaryDevice device('G');
    char bare[] = "G:";
    char withBackslash[] = "G:\\";
    EXPECT_EQ(KOVAHDDIsDevicePresent(bare), 1);
    EXPECT_EQ(KOVAHDDIsDevicePresent(withBackslash), 1);
    device.Unplug();
    EXPECT_EQ(KOVAHDDIsDevicePresent(bare), 0);
    EXPECT_EQ(KOVAHDDIsDevicePresent(withBackslash), 0);
    EXPECT_EQ(KOVAHDDIsDevicePresent(nullptr), 0);
}

TEST(ExportedProfileTest, DriveLetterFormProfilesTheDrive)
{
    testsupport::TemporaryDevice device('H');
    device.WriteFile("Music/a.mp3", std::string(200, 'x'));
    int count = 0;
    EXPECT_EQ(KOVAHDDGetNumFilesOnDevice("H:", &count), 1);
    EXPECT_EQ(count, 2);

    KOVAHDDProfilerCancelSyncronize();  // forgotten: every run starts afresh
    EXPECT_EQ(KOVAHDDProfilerSyncronize('H', nullptr, nullptr), 1);
    EXPECT_TRUE(device.Exists("kovahdd/sys_playlist/title.m3u"));
    EXPECT_EQ(device.ReadFile("kovahdd/pfr.bin").size(), 8u);
}

TEST(ExportedProfileTest, CancelBeforeCountingStopsTheCount)
{
    testsupport::TemporaryDevice device('H');
    device.WriteFile("a.mp3", "x");
    int count = 0;
    KOVAHDDProfilerCancelSyncronize();
    EXPECT_EQ(KOVAHDDGetNumFilesOnDevice("H:", &count), -1);
    KOVAHDDProfilerResetCancel();
    EXPECT_EQ(KOVAHDDGetNumFilesOnDevice("H:", &count), 1);
}

}  // namespace
