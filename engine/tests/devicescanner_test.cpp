#include "engine/scan/devicescanner.h"

#include "engine/api/cancelflag.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/tests/recordingwindow.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using engine::Catalogue;
using engine::TextOf;

// Bytes that carry no tag at all: the reader falls back to the defaults.
const std::string kUntaggedAudio(300, 'x');

class DeviceScannerTest : public ::testing::Test {
protected:
    void SetUp() override { engine::CancelFlag() = 0; }
    void TearDown() override
    {
        Catalogue().EmptyCatalogue();
        engine::CancelFlag() = 0;
    }

    int32_t Scan() { return engine::ScanDevice(root_.c_str(), window_.handle()); }

    const engine::TrackRecord* FindTrack(std::string_view fileName) const
    {
        for (std::size_t i = 0; i < Catalogue().TrackCount(); ++i) {
            const engine::TrackRecord& record = Catalogue().Track(i);
            if (TextOf(record.fileName) == fileName) return &record;
        }
        return nullptr;
    }

    testsupport::TemporaryDevice device_{'E'};
    std::string root_ = "E:";
    RecordingWindow window_;
};

TEST_F(DeviceScannerTest, EmptyDeviceFindsNothing)
{
    int count = -1;
    EXPECT_EQ(engine::GetNumFilesOnDevice("E:", &count), engine::kScanNothingFound);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(Scan(), engine::kScanNothingFound);
}

TEST_F(DeviceScannerTest, CountsFilesAndFoldersRecursively)
{
    device_.WriteFile("Music/Artist/Album/a.mp3", kUntaggedAudio);
    device_.WriteFile("Music/notes.txt", "n");
    device_.MakeFolder("Empty");
    int count = 0;
    EXPECT_EQ(engine::GetNumFilesOnDevice("E:\\", &count), engine::kScanDone);
    EXPECT_EQ(count, 6);  // Music, Artist, Album, a.mp3, notes.txt, Empty
    EXPECT_EQ(engine::GetNumFilesOnDevice("E:", nullptr), engine::kScanNoCountPointer);
}

TEST_F(DeviceScannerTest, CountStopsOnCancel)
{
    device_.WriteFile("a.txt", "a");
    engine::CancelFlag() = 1;
    int count = 0;
    EXPECT_EQ(engine::GetNumFilesOnDevice("E:", &count), engine::kScanCancelled);
}

TEST_F(DeviceScannerTest, DeviceWithoutAudioFilesVisitsEverything)
{
    device_.WriteFile("Docs/readme.txt", "r");
    device_.WriteFile("song.mp3.bak", "b");
    device_.WriteFile("mp3", "m");
    EXPECT_EQ(Scan(), engine::kScanNoAudioFiles);
    ASSERT_EQ(window_.seen.size(), 4u);
    EXPECT_EQ(window_.seen.back().visited, 4);
    EXPECT_EQ(window_.seen.back().total, 4);
}

TEST_F(DeviceScannerTest, PostsCountersForEveryEntry)
{
    device_.WriteFile("A/one.mp3", kUntaggedAudio);
    device_.WriteFile("A/two.MP3", kUntaggedAudio);
    device_.WriteFile("cover.jpg", "j");
    EXPECT_EQ(Scan(), engine::kScanDone);
    ASSERT_EQ(window_.seen.size(), 4u);
    for (std::size_t i = 0; i < window_.seen.size(); ++i) {
        EXPECT_EQ(window_.seen[i].visited, static_cast<int32_t>(i + 1));
        EXPECT_EQ(window_.seen[i].total, 4);
    }
}

TEST_F(DeviceScannerTest, UntaggedFileGetsDefaultsAndRelativePath)
{
    device_.WriteFile("Music/Song.Mp3", kUntaggedAudio);
    ASSERT_EQ(Scan(), engine::kScanDone);
    const engine::TrackRecord* record = FindTrack("Song.Mp3");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(TextOf(record->title), "Song.Mp3");
    EXPECT_EQ(TextOf(record->artist), "(unknown)");
    EXPECT_EQ(TextOf(record->album), "(unknown)");
    EXPECT_EQ(TextOf(record->genre), "(unknown)");
    EXPECT_EQ(record->trackNumber, engine::kNoTrackNumber);
    EXPECT_EQ(TextOf(record->path), "..\\..\\Music\\Song.Mp3");
}

TEST_F(DeviceScannerTest, IncludesHiddenAndSystemFoldersButNotEmptyMp3Files)
{
    device_.WriteFile(".hidden/a.mp3", kUntaggedAudio);
    device_.WriteFile("kovahdd/b.wma", "not really a wma");
    device_.WriteFile("empty.mp3", "");
    EXPECT_EQ(Scan(), engine::kScanDone);
    EXPECT_NE(FindTrack("a.mp3"), nullptr);
    EXPECT_NE(FindTrack("b.wma"), nullptr);
    EXPECT_EQ(FindTrack("empty.mp3"), nullptr);
    EXPECT_EQ(window_.seen.back().visited, 5);  // the empty file is still visited
}

TEST_F(DeviceScannerTest, FileAddedDuringTheWalkChangesTheCount)
{
    device_.WriteFile("Music/a.mp3", kUntaggedAudio);
    window_.AtEntry(1, [this] { device_.WriteFile("Music/late.mp3", kUntaggedAudio); });
    EXPECT_EQ(Scan(), engine::kScanEntriesChanged);
}

TEST_F(DeviceScannerTest, CancelDuringTheWalk)
{
    for (int i = 0; i < 5; ++i) device_.WriteFile("Music/" + std::to_string(i) + ".mp3", kUntaggedAudio);
    window_.AtEntry(3, [] { engine::CancelFlag() = 1; });
    EXPECT_EQ(Scan(), engine::kScanCancelled);
    EXPECT_LE(window_.seen.size(), 3u);
}

TEST_F(DeviceScannerTest, UnpluggedDeviceStopsTheWalk)
{
    device_.WriteFile("A/a.mp3", kUntaggedAudio);
    device_.WriteFile("B/b.mp3", kUntaggedAudio);
    device_.WriteFile("C/c.mp3", kUntaggedAudio);
    window_.AtEntry(2, [this] { device_.Unplug(); });
    EXPECT_EQ(Scan(), engine::kScanEntriesChanged);
    EXPECT_LT(window_.seen.back().visited, window_.seen.back().total);
}

TEST(AudioFileTest, RecognisesMp3AndWmaByExtensionInAnyCase)
{
    EXPECT_EQ(engine::IsAudioFile("E:\\Song.Mp3"), 1);
    EXPECT_EQ(engine::IsAudioFile("E:\\a.b.wMa"), 1);
    EXPECT_EQ(engine::IsAudioFile("E:\\song.mp3.bak"), 0);
    EXPECT_EQ(engine::IsAudioFile("E:\\mp3"), 0);
    EXPECT_EQ(engine::IsAudioFile("E:\\a.mp3\\readme"), 0);
}

TEST(DeviceRelativePathTest, DropsTheRootAndOneBackslash)
{
    engine::TrackRecord record;
    engine::SetText(record.path, "E:\\a.mp3");
    EXPECT_EQ(engine::MakeDeviceRelativePath("E:\\", &record), 1);
    EXPECT_EQ(TextOf(record.path), "..\\..\\a.mp3");

    engine::SetText(record.path, "E:\\Music\\a.mp3");
    EXPECT_EQ(engine::MakeDeviceRelativePath("E:", &record), 1);
    EXPECT_EQ(TextOf(record.path), "..\\..\\Music\\a.mp3");

    EXPECT_EQ(engine::MakeDeviceRelativePath(nullptr, &record), 0);
    EXPECT_EQ(engine::MakeDeviceRelativePath("E:", nullptr), 0);
}

}  // namespace
