#include "trayhost/verify/verificationrun.h"

#include "platform/errors.h"
#include "testsupport/flushrecorder.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/tests/scriptedengine.h"
#include "trayhost/verify/playlistreplacement.h"
#include "trayhost/verify/tests/verifytestdevice.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace trayhost {
namespace {

using Outcome = VerificationRun::Outcome;

// Fills the device until a write fails.
void FillUp(const VerifyTestDevice& device)
{
    std::ofstream filler(device.LinuxPath("filler"), std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
    }
}

class VerificationRunTest : public ::testing::Test {
protected:
    Outcome Run(const VerifyTestDevice& on)
    {
        VerificationRun run({engine, ui, report, flags});
        const Outcome outcome = run.Run(on.letter());
        playlistsWithErrors = run.playlistsWithErrors();
        return outcome;
    }

    ScriptedEngine engine;
    testsupport::ScriptedUserInterface ui;
    RecordingReport report;
    VerificationFlags flags;
    int32_t playlistsWithErrors = 0;
};

TEST_F(VerificationRunTest, WhatTheFolderHoldsDecidesTheOutcome)
{
    struct Case {
        const char* name;
        std::function<void(const VerifyTestDevice&)> setUp;
        Outcome outcome;
        std::size_t questions;
    };
    const Case cases[] = {
        {"no playlist folder", [](const VerifyTestDevice&) {}, Outcome::DeviceGone, 0},
        {"an empty folder", [](const VerifyTestDevice& d) { d.MakeFolder("kovahdd_playlists"); },
         Outcome::NoPlaylists, 0},
        {"subfolders and other files only; a playlist in a subfolder is not looked at",
         [](const VerifyTestDevice& d) {
             d.WritePlaylist("cover.jpg", "JPEG");
             d.WritePlaylist("notes.m3u.txt", "gone.mp3\r\n");
             d.WritePlaylist("sub/inner.m3u", "gone.mp3\r\n");
             d.MakeFolder("kovahdd_playlists/folder.m3u");
         },
         Outcome::NoPlaylists, 0},
        {"playlists among other files, the extension in any case",
         [](const VerifyTestDevice& d) {
             d.WritePlaylist("cover.jpg", "JPEG");
             d.WritePlaylist("sub/inner.m3u", "gone.mp3\r\n");
             d.WritePlaylist("LIST.M3U", "gone.mp3\r\n");
         },
         Outcome::Finished, 1},
    };
    for (const Case& c : cases) {
        VerifyTestDevice device;
        c.setUp(device);
        testsupport::ScriptedUserInterface answers;
        VerificationRun run({engine, answers, report, flags});
        EXPECT_EQ(run.Run(device.letter()), c.outcome) << c.name;
        EXPECT_EQ(answers.fileNotFoundQuestions().size(), c.questions) << c.name;
    }
}

TEST_F(VerificationRunTest, EveryEntryOfTheFolderIsShownAsItIsReached)
{
    VerifyTestDevice device;
    device.WritePlaylist("cover.jpg", "JPEG");
    device.MakeFolder("kovahdd_playlists/sub");
    device.WritePlaylist("list.m3u", "\\Music\\song.mp3\r\n");

    EXPECT_EQ(Run(device), Outcome::Finished);
    std::vector<std::string> shown = report.statuses;
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::string>{"status 2 cover.jpg", "status 2 list.m3u", "status 2 sub"}));
    EXPECT_FALSE(flags.profileOffer);
}

TEST_F(VerificationRunTest, DeviceRemovedDuringTheWalkStopsItWithoutAProfileOffer)
{
    VerifyTestDevice device;
    device.WritePlaylist("one.m3u", "");
    device.WritePlaylist("two.m3u", "");
    // Unplugged once the first of the two playlists has been deleted.
    engine.devicePresent = [&](const std::string&) {
        return device.HasPlaylist("one.m3u") && device.HasPlaylist("two.m3u");
    };

    EXPECT_EQ(Run(device), Outcome::DeviceGone);
    EXPECT_EQ(report.changes.size(), 1u);
    EXPECT_FALSE(flags.profileOffer);
    EXPECT_EQ(FinalStatusOf(Outcome::DeviceGone), VerifyStatus::DeviceGone);
}

// What the walk changed is written back to the device before the run may say it finished; a device
// that cannot do so ends the run as gone, without a profile offer.
TEST_F(VerificationRunTest, ADeviceThatCannotWriteBackTheChangesEndsTheRunAsGone)
{
    VerifyTestDevice device;
    device.WritePlaylist("empty.m3u", "");
    testsupport::FlushRecorder flushes;
    flushes.answer = platform::kErrorGenFailure;
    bool deletedAtFlush = false;
    flushes.onFlush = [&](const std::string&) { deletedAtFlush = !device.HasPlaylist("empty.m3u"); };

    EXPECT_EQ(Run(device), Outcome::NotWrittenBack);
    EXPECT_TRUE(deletedAtFlush);
    EXPECT_FALSE(flags.profileOffer);
    EXPECT_EQ(FinalStatusOf(Outcome::NotWrittenBack), VerifyStatus::DeviceGone);
}

TEST_F(VerificationRunTest, PlaylistThatCannotBeReadIsToldAndTheWalkGoesOn)
{
    VerifyTestDevice device;
    device.WritePlaylist("empty.m3u", "");
    device.MakeFolder("kovahdd_playlists");
    std::filesystem::create_symlink(device.LinuxPath("nowhere"), device.LinuxPath("kovahdd_playlists/broken.m3u"));

    EXPECT_EQ(Run(device), Outcome::Finished);
    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "File error");
    EXPECT_EQ(boxes[0].text, "An error occurred accessing the 'broken.m3u' user playlist file.  The contents of "
                             "this file will not be able to be verified at this time.");
    EXPECT_EQ(boxes[0].style, kMbOk | kMbIconExclamation);
    EXPECT_FALSE(device.HasPlaylist("empty.m3u"));
    EXPECT_TRUE(flags.profileOffer);
    EXPECT_EQ(playlistsWithErrors, 1);
}

TEST_F(VerificationRunTest, FullDiskLeavesThePlaylistWholeAndNoTemporaryFile)
{
    VerifyTestDevice device('F', 64 * 1024);
    if (!device.IsSizeLimited()) GTEST_SKIP() << "a size-limited tmpfs needs root";
    std::string big;
    for (int line = 0; line < 2000; ++line) big += "\\Music\\song.mp3\r\n";
    big += "gone.mp3\r\n";
    device.WritePlaylist("big.m3u", big);
    device.WritePlaylist("small.m3u", "gone.mp3\r\n");
    FillUp(device);
    ui.ScriptFileNotFoundAnswer({FileNotFoundChoice::YesToAll, true});

    EXPECT_EQ(Run(device), Outcome::Finished);
    EXPECT_EQ(device.ReadPlaylist("big.m3u"), big);
    EXPECT_FALSE(device.HasPlaylist("small.m3u")) << "the walk went on after the full disk";
    EXPECT_FALSE(device.Exists("kovahdd_playlists/big.m3u.kovahdd.tmp"));
    const auto boxes = ui.messageBoxes();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "File error");
    EXPECT_NE(boxes[0].text.find("'big.m3u'"), std::string::npos);
    EXPECT_GE(playlistsWithErrors, 1);
}

TEST_F(VerificationRunTest, CancelBeforeOrDuringTheWalkEndsItWithoutAProfileOffer)
{
    VerifyTestDevice device;
    device.WritePlaylist("list.m3u", "");
    flags.cancel = true;
    flags.profileOffer = true;
    EXPECT_EQ(Run(device), Outcome::Cancelled);
    EXPECT_TRUE(device.HasPlaylist("list.m3u"));
    EXPECT_FALSE(flags.profileOffer);
}

}  // namespace
}  // namespace trayhost
