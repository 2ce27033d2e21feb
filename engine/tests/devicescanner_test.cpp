#include "engine/scan/devicescanner.h"

#include "engine/api/cancelflag.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/tests/recordingwindow.h"
#include "testsupport/devicetree.h"
#include "testsupport/id3builder.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

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

    int32_t Scan()
    {
        engine::TagCache tags;
        return engine::ScanDevice(root_.c_str(), window_.handle(), tags);
    }

    const engine::CatalogueTrack* FindTrack(std::string_view fileName) const
    {
        for (std::size_t i = 0; i < Catalogue().TrackCount(); ++i) {
            const engine::CatalogueTrack& track = Catalogue().Track(i);
            if (track.fileName == fileName) return &track;
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

// Folders are counted several at a time: whatever the shape of the tree, each entry counts once.
TEST_F(DeviceScannerTest, CountOfManyFoldersIsTheSumOfTheirEntries)
{
    struct Shape {
        int depth;
        int foldersPerFolder;
        int filesPerFolder;
    };
    for (const Shape shape : {Shape{1, 60, 3}, Shape{12, 1, 2}, Shape{4, 4, 5}}) {
        const testsupport::TemporaryDevice device('F');
        int expected = 0;
        std::vector<std::string> level{""};
        for (int depth = 0; depth < shape.depth; ++depth) {
            std::vector<std::string> next;
            for (const std::string& parent : level) {
                for (int i = 0; i < shape.foldersPerFolder; ++i) next.push_back(parent + "d" + std::to_string(i) + "/");
            }
            for (const std::string& folder : next) {
                device.MakeFolder(folder);
                for (int i = 0; i < shape.filesPerFolder; ++i) device.WriteFile(folder + "f" + std::to_string(i), "x");
                expected += 1 + shape.filesPerFolder;
            }
            level = std::move(next);
        }
        int count = 0;
        EXPECT_EQ(engine::GetNumFilesOnDevice("F:", &count), engine::kScanDone);
        EXPECT_EQ(count, expected) << shape.depth << " levels of " << shape.foldersPerFolder;
    }
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
    const engine::CatalogueTrack* track = FindTrack("Song.Mp3");
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->title, "Song.Mp3");
    EXPECT_EQ(track->artist, "(unknown)");
    EXPECT_EQ(track->album, "(unknown)");
    EXPECT_EQ(track->genre, "(unknown)");
    EXPECT_EQ(track->trackNumber, engine::kNoTrackNumber);
    EXPECT_EQ(track->path, "..\\..\\Music\\Song.Mp3");
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

TEST_F(DeviceScannerTest, AFifoIsAnUntaggedFileAndNeverBlocksTheScan)
{
    device_.WriteFile("a.mp3", kUntaggedAudio);
    ASSERT_EQ(mkfifo(device_.LinuxPath("x.mp3").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo(device_.LinuxPath("y.wma").c_str(), 0644), 0);
    EXPECT_EQ(Scan(), engine::kScanDone);
    EXPECT_EQ(Catalogue().TrackCount(), 3u);
    ASSERT_NE(FindTrack("x.mp3"), nullptr);
    EXPECT_EQ(FindTrack("x.mp3")->artist, "(unknown)");
}

// Links never lead the walk up the tree or off the device; a link to a file is the file.
TEST_F(DeviceScannerTest, LinksToFoldersAreEntriesThatAreNotEntered)
{
    testsupport::TemporaryDevice computer('O');
    computer.WriteFile("Songs/theirs.mp3", kUntaggedAudio);
    device_.WriteFile("Music/a.mp3", kUntaggedAudio);
    for (const auto& [link, target] : {std::pair{"Music/up", device_.directory()}, std::pair{"root", std::string("/")},
                                       std::pair{"Theirs", computer.LinuxPath("Songs")},
                                       std::pair{"linked.mp3", computer.LinuxPath("Songs/theirs.mp3")}}) {
        ASSERT_EQ(symlink(target.c_str(), device_.LinuxPath(link).c_str()), 0) << link;
    }
    int count = 0;
    ASSERT_EQ(engine::GetNumFilesOnDevice("E:", &count), engine::kScanDone);
    EXPECT_EQ(count, 6);  // Music, a.mp3, up, root, Theirs, linked.mp3
    EXPECT_EQ(Scan(), engine::kScanDone);
    EXPECT_EQ(window_.seen.back().visited, 6);
    EXPECT_EQ(Catalogue().TrackCount(), 2u);
    EXPECT_NE(FindTrack("a.mp3"), nullptr);
    EXPECT_NE(FindTrack("linked.mp3"), nullptr);
}

// A full path of 252 bytes leaves a relative path of 255, the most a record holds, whether the root
// is given with its backslash or without.
TEST_F(DeviceScannerTest, TheLongestPathThatFitsIsKeptAndOneMoreIsLeftOut)
{
    const std::string folder(120, 'f');
    const auto nameFor = [&](std::size_t fullLength) {
        return std::string(fullLength - std::string_view("E:\\").size() - folder.size() - 1 - 4, 'n') + ".mp3";
    };
    device_.WriteFile(folder + "/" + nameFor(252), kUntaggedAudio);
    device_.WriteFile(folder + "/" + nameFor(253), kUntaggedAudio);
    for (const char* root : {"E:", "E:\\"}) {
        root_ = root;
        EXPECT_EQ(Scan(), engine::kScanDone) << root;
        ASSERT_EQ(Catalogue().TrackCount(), 1u) << root;
        EXPECT_EQ(Catalogue().Track(0).fileName, nameFor(252)) << root;
        EXPECT_EQ(Catalogue().Track(0).path.size(), 255u) << root;
    }
}

TEST_F(DeviceScannerTest, NamesThePlayerCannotAddressAreCountedWithTheirOwnSpelling)
{
    for (const char* path : {"Music/日本.mp3", "Music/日曜.mp3", "日本/plain.mp3", "Music/café.mp3", "日本.txt"}) {
        device_.WriteFile(path, kUntaggedAudio);
    }
    EXPECT_EQ(Scan(), engine::kScanDone);
    const engine::UnaddressableFiles& files = engine::LastScanUnaddressableFiles();
    EXPECT_EQ(files.count, 3);
    const auto named = [&](const std::string& name) {
        return std::find(files.firstNames.begin(), files.firstNames.end(), name) != files.firstNames.end();
    };
    EXPECT_TRUE(named("E:\\Music\\日本.mp3"));
    EXPECT_TRUE(named("E:\\Music\\日曜.mp3"));
    EXPECT_TRUE(named("E:\\??\\plain.mp3"));
}

// Both names read "??.mp3" in the code page; each file must still give its own tags.
TEST_F(DeviceScannerTest, FilesWhoseNamesReadAlikeEachGiveTheirOwnTags)
{
    for (const auto& [name, title] : {std::pair{"日本.mp3", "Nihon"}, std::pair{"日曜.mp3", "Nichiyou"}}) {
        device_.WriteFile(std::string("Music/") + name,
                          testsupport::Mp3File(testsupport::Id3v2Tag(testsupport::Id3v2TextFrame("TIT2", title))));
    }
    ASSERT_EQ(Scan(), engine::kScanDone);
    ASSERT_EQ(Catalogue().TrackCount(), 2u);
    std::vector<std::string_view> titles{Catalogue().Track(0).title, Catalogue().Track(1).title};
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string_view>{"Nichiyou", "Nihon"}));
}

// Songs are read on two threads at once, and must come into the catalogue as if read one after
// another: in the order of the folder's listing, each with its own tags, whatever happens during
// the walk.
struct ReadAheadCase {
    const char* name;
    int songs;                // in one folder, more than are read ahead at a time
    int actionAtEntry;        // 0 for none
    enum { None, Cancel, Unplug, DeleteLastHalf } action;
    int32_t expectedResult;
};

class ReadAheadTest : public DeviceScannerTest, public ::testing::WithParamInterface<ReadAheadCase> {
protected:
    // The songs' file names in the folder's listing order; each song's title is its file name.
    std::vector<std::string> WriteSongs(int count)
    {
        for (int i = 0; i < count; ++i) {
            const std::string name = "song" + std::to_string(i) + ".mp3";
            device_.WriteFile("Album/" + name, testsupport::Mp3File(testsupport::Id3v2Tag(
                                                   testsupport::Id3v2TextFrame("TIT2", name))));
            if (i % 50 == 0) device_.WriteFile("Album/Disc" + std::to_string(i) + "/inner.mp3", kUntaggedAudio);
        }
        std::vector<std::string> listed;
        DIR* folder = opendir(device_.LinuxPath("Album").c_str());
        while (const dirent* entry = readdir(folder)) {
            const std::string name = entry->d_name;
            if (name.starts_with("song")) listed.push_back(name);
        }
        closedir(folder);
        return listed;
    }
};

TEST_P(ReadAheadTest, SongsComeInListingOrderWithTheirOwnTags)
{
    const ReadAheadCase& row = GetParam();
    const std::vector<std::string> listed = WriteSongs(row.songs);
    window_.AtEntry(row.actionAtEntry, [&] {
        switch (row.action) {
        case ReadAheadCase::Cancel:
            engine::CancelFlag() = 1;
            break;
        case ReadAheadCase::Unplug:
            device_.Unplug();
            break;
        case ReadAheadCase::DeleteLastHalf:
            for (std::size_t i = listed.size() / 2; i < listed.size(); ++i) {
                std::remove(device_.LinuxPath("Album/" + listed[i]).c_str());
            }
            break;
        case ReadAheadCase::None:
            break;
        }
    });
    EXPECT_EQ(Scan(), row.expectedResult);

    std::vector<std::string> songs;
    for (std::size_t i = 0; i < Catalogue().TrackCount(); ++i) {
        const engine::CatalogueTrack& track = Catalogue().Track(i);
        if (track.fileName == "inner.mp3") continue;
        songs.emplace_back(track.fileName);
        // A song deleted before it was read gets the file name as its title too.
        EXPECT_EQ(track.title, track.fileName);
    }
    const std::vector<std::string> expected(listed.begin(), listed.begin() + static_cast<std::ptrdiff_t>(songs.size()));
    EXPECT_EQ(songs, expected);
    if (row.expectedResult == engine::kScanDone) {
        EXPECT_EQ(songs.size(), listed.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Walks, ReadAheadTest,
    ::testing::Values(ReadAheadCase{"Undisturbed", 300, 0, ReadAheadCase::None, engine::kScanDone},
                      ReadAheadCase{"CancelledHalfWay", 300, 150, ReadAheadCase::Cancel, engine::kScanCancelled},
                      ReadAheadCase{"UnpluggedHalfWay", 300, 150, ReadAheadCase::Unplug, engine::kScanEntriesChanged},
                      ReadAheadCase{"SongsDeletedAfterTheListing", 300, 20, ReadAheadCase::DeleteLastHalf,
                                    engine::kScanDone}),
    [](const ::testing::TestParamInfo<ReadAheadCase>& info) { return std::string(info.param.name); });

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
