#include "engine/profile/profilerun.h"
#include "engine/profile/runsummary.h"

#include "engine/api/cancelflag.h"
#include "engine/tagcache/tagcachestore.h"
#include "engine/tests/recordingwindow.h"
#include "platform/errors.h"
#include "platform/sound.h"
#include "testsupport/devicetree.h"
#include "testsupport/flushrecorder.h"
#include "testsupport/userfolders.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kUntaggedAudio(300, 'x');
const std::vector<std::string> kPlaylists{"artist.m3u", "album.m3u", "title.m3u", "genre.m3u", "audiofiles.m3u"};

// The progress callback is a plain function, so the reports of a run are kept here.
std::vector<int32_t> reports;
std::vector<int32_t> playlistsNotWritten;  // the values of the code 9 reports
std::function<void(int32_t)> onReport;
int beeps = 0;

void RecordReport(int32_t code, int32_t value)
{
    reports.push_back(code);
    if (code == kReportPlaylistNotWritten) playlistsNotWritten.push_back(value);
    if (onReport) onReport(code);
}

constexpr int32_t kAllPlaylists = 1 << 0 | 1 << 1 | 1 << 2 | 1 << 3 | 1 << 5;

// The code 9 values of these playlist kinds, all for one problem.
std::vector<int32_t> NotWritten(std::initializer_list<int32_t> kinds, KovaPlaylistProblem problem)
{
    std::vector<int32_t> values;
    for (const int32_t kind : kinds) values.push_back(PlaylistReportValue(kind, problem));
    return values;
}

std::vector<std::string> PlaylistFiles(const testsupport::TemporaryDevice& device)
{
    std::vector<std::string> contents;
    for (const std::string& name : kPlaylists) contents.push_back(device.ReadFile("kovahdd/sys_playlist/" + name));
    return contents;
}

std::size_t Pages(std::size_t bytes)
{
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

uint64_t FreeBytes(const testsupport::TemporaryDevice& device)
{
    struct statvfs volume {};
    if (statvfs(device.directory().c_str(), &volume) != 0) return 0;
    return uint64_t{volume.f_bfree} * volume.f_frsize;
}

class ProfileRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reports.clear();
        playlistsNotWritten.clear();
        onReport = nullptr;
        beeps = 0;
        platform::SetBeepPlayer([](uint32_t type) { beeps += type == platform::kBeepExclamation; });
        engine::CancelFlag() = 0;
    }
    void TearDown() override
    {
        platform::SetBeepPlayer(nullptr);
        onReport = nullptr;
    }

    int32_t Run(const char* root = "E:") { return engine::RunProfile(root, RecordReport, window_.handle()); }

    bool HasPlaylist(const std::string& name) const { return device_.Exists("kovahdd/sys_playlist/" + name); }

    testsupport::TemporaryDevice device_{'E'};
    RecordingWindow window_;
};

TEST_F(ProfileRunTest, CompleteRunReportsAndWritesEverything)
{
    device_.WriteFile("Music/a.mp3", kUntaggedAudio);
    device_.WriteFile("Music/b.mp3", kUntaggedAudio);
    EXPECT_EQ(Run(), engine::kRunDone);
    EXPECT_EQ(reports, (std::vector<int32_t>{kReportScanStarted, kReportPlaylistsStarted, kReportProfileFinished}));
    EXPECT_EQ(beeps, 1);
    for (const std::string& name : kPlaylists) EXPECT_TRUE(HasPlaylist(name)) << name;
    EXPECT_TRUE(device_.Exists("kovahdd_playlists"));

    const KovaRunSummary& summary = engine::LastRunSummary();
    EXPECT_EQ(summary.tracks, 2);
    EXPECT_EQ(summary.artists, 1);
    EXPECT_EQ(summary.albums, 1);
    EXPECT_EQ(summary.genres, 1);
    EXPECT_EQ(summary.playlistsWritten, kAllPlaylists);
    EXPECT_EQ(summary.unaddressableFiles, 0);
}

// Users unplug the device once the run says it finished: by then its file system has written back
// the playlists, and a device that cannot do so is told as lost.
TEST_F(ProfileRunTest, TheDeviceWritesBackThePlaylistsBeforeTheRunSaysItFinished)
{
    static constexpr int32_t kFlushed = 100;  // stands for the flush among the reports
    device_.WriteFile("a.mp3", kUntaggedAudio);
    struct Case {
        uint32_t flushAnswer;
        int32_t result;
        int32_t lastReport;
    };
    for (const Case c : {Case{platform::kErrorSuccess, engine::kRunDone, kReportProfileFinished},
                         Case{platform::kErrorGenFailure, engine::kRunFileSystemError, kReportDeviceLost}}) {
        reports.clear();
        testsupport::FlushRecorder flushes;
        flushes.answer = c.flushAnswer;
        flushes.onFlush = [](const std::string&) { reports.push_back(kFlushed); };
        EXPECT_EQ(Run(), c.result);
        EXPECT_EQ(reports, (std::vector<int32_t>{kReportScanStarted, kReportPlaylistsStarted, kFlushed, c.lastReport}));
    }
}

// On a file system of its own, so that nothing else changes the free space between the run and the check.
TEST(ProfileRunFreeSpaceTest, FreeSpaceFileHoldsTheFreeBytesAfterItWasWritten)
{
    testsupport::TemporaryDevice device('F', 1024 * 1024);
    if (!device.IsSizeLimited()) GTEST_SKIP() << "needs root to mount a tmpfs that nothing else writes";
    device.WriteFile("a.mp3", kUntaggedAudio);
    ASSERT_EQ(engine::RunProfile("F:\\", nullptr, nullptr), engine::kRunDone);
    const std::string bytes = device.ReadFile("kovahdd/pfr.bin");
    ASSERT_EQ(bytes.size(), 8u);
    uint64_t written = 0;
    for (int i = 7; i >= 0; --i) written = (written << 8) | static_cast<unsigned char>(bytes[i]);
    EXPECT_EQ(written, FreeBytes(device));
}

TEST_F(ProfileRunTest, NoAudioFilesIsReportedAndWritesNothing)
{
    device_.WriteFile("readme.txt", "r");
    EXPECT_EQ(Run(), engine::kRunNoAudioFiles);
    EXPECT_EQ(reports, (std::vector<int32_t>{kReportScanStarted, kReportNoAudioFiles}));
    EXPECT_EQ(beeps, 2);
    EXPECT_FALSE(device_.Exists("kovahdd/sys_playlist"));
}

TEST_F(ProfileRunTest, CancelDuringTheScanTouchesNoPlaylist)
{
    for (int i = 0; i < 4; ++i) device_.WriteFile("M/" + std::to_string(i) + ".mp3", kUntaggedAudio);
    window_.AtEntry(2, [] { engine::CancelFlag() = 1; });
    EXPECT_EQ(Run(), engine::kRunCancelled);
    EXPECT_EQ(reports, (std::vector<int32_t>{kReportScanStarted, kReportProfileCancelled}));
    EXPECT_FALSE(device_.Exists("kovahdd"));
    EXPECT_EQ(engine::CancelFlag(), 0);
}

TEST_F(ProfileRunTest, CancelWhileTheArtistPlaylistIsWrittenCompletesItAndStops)
{
    device_.WriteFile("a.mp3", kUntaggedAudio);
    onReport = [](int32_t code) {
        if (code == kReportPlaylistsStarted) engine::CancelFlag() = 1;
    };
    EXPECT_EQ(Run(), engine::kRunCancelled);
    EXPECT_EQ(reports, (std::vector<int32_t>{kReportScanStarted, kReportPlaylistsStarted}));
    EXPECT_TRUE(HasPlaylist("artist.m3u"));
    EXPECT_FALSE(HasPlaylist("album.m3u"));
    EXPECT_FALSE(device_.Exists("kovahdd/pfr.bin"));
}

// A cancelled run saw only part of the device: the tag cache stays as the last finished run left it.
TEST_F(ProfileRunTest, CancelledRunLeavesTheTagCacheAsItWas)
{
    const testsupport::ScopedUserFolders folders;
    device_.WriteFile("Music/a.mp3", kUntaggedAudio);
    device_.WriteFile("Music/b.mp3", kUntaggedAudio);
    ASSERT_EQ(Run(), engine::kRunDone);
    const std::string cache = engine::TagCacheStore("E:").Path();
    const std::string finished = testsupport::ReadWholeFile(cache);

    device_.WriteFile("Music/c.mp3", kUntaggedAudio);
    window_.AtEntry(4, [] { engine::CancelFlag() = 1; });
    EXPECT_EQ(Run(), engine::kRunCancelled);
    EXPECT_EQ(testsupport::ReadWholeFile(cache), finished);
}

TEST_F(ProfileRunTest, EarlierCancelRequestIsForgotten)
{
    device_.WriteFile("a.mp3", kUntaggedAudio);
    engine::CancelFlag() = 1;
    EXPECT_EQ(Run(), engine::kRunDone);
}

TEST_F(ProfileRunTest, RunsWithoutCallback)
{
    device_.WriteFile("a.mp3", kUntaggedAudio);
    EXPECT_EQ(engine::RunProfile("E:", nullptr, nullptr), engine::kRunDone);
    EXPECT_TRUE(HasPlaylist("title.m3u"));
}

TEST_F(ProfileRunTest, NullRootDoesNothing)
{
    engine::CancelFlag() = 1;
    EXPECT_EQ(Run(nullptr), engine::kRunFailed);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(engine::CancelFlag(), 1);
}

TEST_F(ProfileRunTest, MissingDeviceFailsAsLost)
{
    device_.Unplug();
    EXPECT_EQ(Run(), engine::kRunFailed);
    EXPECT_EQ(reports, (std::vector<int32_t>{kReportScanStarted, kReportDeviceLost}));
}

class ProfileRunHostileDeviceTest : public ProfileRunTest {
protected:
    // A device of its own size; false, and the test skipped, without the right to mount one.
    bool MountDevice(std::size_t sizeBytes)
    {
        small_.emplace('F', sizeBytes);
        return small_->IsSizeLimited();
    }

    int32_t RunOnSmall() { return engine::RunProfile("F:", RecordReport, nullptr); }
    // Every run reads and writes all: an unchanged device would otherwise keep the playlists it has.
    void SetUp() override
    {
        ProfileRunTest::SetUp();
        engine::TagCacheInUse() = false;
    }
    void TearDown() override
    {
        engine::TagCacheInUse() = true;
        ProfileRunTest::TearDown();
    }

    std::optional<testsupport::TemporaryDevice> small_;
};

TEST_F(ProfileRunHostileDeviceTest, FullDeviceKeepsThePreviousSetWholeAndReportsEveryPlaylist)
{
    if (!MountDevice(64 * 1024)) GTEST_SKIP() << "needs root to mount a size-limited tmpfs";
    small_->WriteFile("a.mp3", kUntaggedAudio);
    ASSERT_EQ(RunOnSmall(), engine::kRunDone);
    const std::vector<std::string> previous = PlaylistFiles(*small_);

    // Many long names make every playlist larger than the space that is left.
    for (int i = 0;; ++i) {
        try {
            small_->WriteFile(std::string(200, 'n') + std::to_string(i) + ".mp3", std::string(2000, 'x'));
        } catch (const std::exception&) {
            break;
        }
    }
    playlistsNotWritten.clear();
    EXPECT_EQ(RunOnSmall(), engine::kRunDone);  // the scan went through; the playlists met the full disk
    EXPECT_EQ(playlistsNotWritten, NotWritten({0, 1, 2, 3, 5}, kPlaylistDeviceFull));
    EXPECT_EQ(reports.back(), kReportProfileFinished);
    EXPECT_EQ(PlaylistFiles(*small_), previous);
    EXPECT_FALSE(small_->Exists("kovahdd/sys_playlist/title.m3u.tmp"));
    EXPECT_EQ(engine::LastRunSummary().playlistsWritten, 0);
}

// With room for the first two playlists only, those two are complete but held back with the rest.
TEST_F(ProfileRunHostileDeviceTest, RoomForSomePlaylistsReplacesNone)
{
    if (!MountDevice(1024 * 1024)) GTEST_SKIP() << "needs root to mount a size-limited tmpfs";
    for (int i = 0; i < 40; ++i) {
        small_->WriteFile("Music/" + std::string(150, 's') + std::to_string(i) + ".mp3", kUntaggedAudio);
    }
    ASSERT_EQ(RunOnSmall(), engine::kRunDone);
    const std::vector<std::string> previous = PlaylistFiles(*small_);

    const std::size_t room = Pages(previous[0].size()) + Pages(previous[1].size()) + Pages(previous[2].size()) / 2;
    small_->WriteFile("filler", std::string(FreeBytes(*small_) - room, 'f'));
    playlistsNotWritten.clear();
    EXPECT_EQ(RunOnSmall(), engine::kRunDone);
    std::vector<int32_t> expected = NotWritten({0, 1}, kPlaylistHeldBack);
    for (const int32_t value : NotWritten({2, 3, 5}, kPlaylistDeviceFull)) expected.push_back(value);
    std::sort(expected.begin(), expected.end());
    std::sort(playlistsNotWritten.begin(), playlistsNotWritten.end());
    EXPECT_EQ(playlistsNotWritten, expected);
    EXPECT_EQ(PlaylistFiles(*small_), previous);
}

// The device is unmounted (lazily, as a desktop does when it is pulled) as the playlists start:
// nothing may land in the empty mount point on the computer's own disk.
TEST_F(ProfileRunHostileDeviceTest, DeviceUnmountedWhileThePlaylistsAreWrittenGetsNothingWritten)
{
    if (!MountDevice(256 * 1024)) GTEST_SKIP() << "needs root to mount and unmount a tmpfs";
    small_->WriteFile("a.mp3", kUntaggedAudio);
    onReport = [this](int32_t code) {
        if (code == kReportPlaylistsStarted) small_->UnmountLazily();
    };
    EXPECT_EQ(RunOnSmall(), engine::kRunDone);
    EXPECT_EQ(playlistsNotWritten, NotWritten({0, 1, 2, 3, 5}, kPlaylistDeviceGone));
    EXPECT_TRUE(std::filesystem::is_empty(small_->directory()));
}

}  // namespace
