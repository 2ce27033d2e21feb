#include "engine/profile/profilerun.h"

#include "engine/api/cancelflag.h"
#include "engine/tests/recordingwindow.h"
#include "platform/sound.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kUntaggedAudio(300, 'x');
const std::vector<std::string> kPlaylists{"artist.m3u", "album.m3u", "title.m3u", "genre.m3u", "audiofiles.m3u"};

// The progress callback is a plain function, so the reports of a run are kept here.
std::vector<int32_t> reports;
std::function<void(int32_t)> onReport;
int beeps = 0;

void RecordReport(int32_t code, int32_t)
{
    reports.push_back(code);
    if (onReport) onReport(code);
}

class ProfileRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reports.clear();
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
}

TEST_F(ProfileRunTest, FreeSpaceFileHoldsTheFreeBytesAfterItWasWritten)
{
    device_.WriteFile("a.mp3", kUntaggedAudio);
    ASSERT_EQ(Run("E:\\"), engine::kRunDone);
    const std::string bytes = device_.ReadFile("kovahdd/pfr.bin");
    ASSERT_EQ(bytes.size(), 8u);
    uint64_t written = 0;
    for (int i = 7; i >= 0; --i) written = (written << 8) | static_cast<unsigned char>(bytes[i]);
    struct statvfs volume {};
    ASSERT_EQ(statvfs(device_.directory().c_str(), &volume), 0);
    EXPECT_EQ(written, uint64_t{volume.f_bfree} * volume.f_frsize);
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

TEST(ProfileRunFullDiskTest, FullDeviceKeepsThePreviousPlaylists)
{
    testsupport::TemporaryDevice device('F', 64 * 1024);
    if (!device.IsSizeLimited()) GTEST_SKIP() << "needs root to mount a size-limited tmpfs";
    device.WriteFile("a.mp3", kUntaggedAudio);
    ASSERT_EQ(engine::RunProfile("F:", nullptr, nullptr), engine::kRunDone);
    std::vector<std::string> previous;
    for (const std::string& name : kPlaylists) previous.push_back(device.ReadFile("kovahdd/sys_playlist/" + name));

    // Many long names make every playlist larger than the space that is left.
    for (int i = 0;; ++i) {
        try {
            device.WriteFile(std::string(200, 'n') + std::to_string(i) + ".mp3", std::string(2000, 'x'));
        } catch (const std::exception&) {
            break;
        }
    }
    const int32_t result = engine::RunProfile("F:", nullptr, nullptr);
    EXPECT_EQ(result, engine::kRunDone);  // the scan went through; the playlists met the full disk
    for (std::size_t i = 0; i < kPlaylists.size(); ++i) {
        EXPECT_EQ(device.ReadFile("kovahdd/sys_playlist/" + kPlaylists[i]), previous[i]) << kPlaylists[i];
    }
    EXPECT_FALSE(device.Exists("kovahdd/sys_playlist/title.m3u.tmp"));
}

}  // namespace
