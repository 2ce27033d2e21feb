#include "trayhost/verify/playlistchecker.h"

#include "platform/files.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/tests/scriptedengine.h"
#include "trayhost/verify/tests/verifytestdevice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace trayhost {
namespace {

using Choice = FileNotFoundChoice;

// Answers as the person would who presses Cancel in the verification dialog while the question is open.
class CancellingUserInterface : public testsupport::ScriptedUserInterface {
public:
    explicit CancellingUserInterface(VerificationFlags& flags) : flags_(flags) {}
    FileNotFoundAnswer AskFileNotFound(const FileNotFoundQuestion& question) override
    {
        flags_.cancel = true;
        return ScriptedUserInterface::AskFileNotFound(question);
    }

private:
    VerificationFlags& flags_;
};

class PlaylistCheckerTest : public ::testing::Test {
protected:
    VerifyResult Check(const std::string& name, UserInterface& userInterface)
    {
        PlaylistChecker checker({engine, userInterface, report, flags, decisions});
        return checker.Check(device.root(), device.PlaylistPath(name));
    }
    VerifyResult Check(const std::string& name) { return Check(name, ui); }

    void Script(std::initializer_list<Choice> choices, bool applyToAllPlaylists = false)
    {
        for (const Choice choice : choices) ui.ScriptFileNotFoundAnswer({choice, applyToAllPlaylists});
    }

    VerifyTestDevice device;
    ScriptedEngine engine;
    testsupport::ScriptedUserInterface ui;
    RecordingReport report;
    VerificationFlags flags;
    PromptDecisions decisions;
};

TEST_F(PlaylistCheckerTest, BadEntriesGoAsAnsweredAndEverythingElseStaysByteForByte)
{
    struct Case {
        const char* name;
        std::string before;
        std::vector<Choice> answers;
        std::optional<std::string> after;  // empty: the playlist is deleted
        std::size_t questions;
    };
    const std::string good = "\\Music\\song.mp3";
    const Case cases[] = {
        {"a playlist of 0 bytes is deleted without asking", "", {}, std::nullopt, 0},
        {"a playlist whose only entry goes is deleted", "gone.mp3\r\n", {Choice::Yes}, std::nullopt, 1},
        {"# lines stay; CR LF goes with its line", "#EXTM3U\r\n#EXTINF:1,A - B\r\ngone.mp3\r\n" + good + "\r\n",
         {Choice::Yes}, "#EXTM3U\r\n#EXTINF:1,A - B\r\n" + good + "\r\n", 1},
        {"the last line before the end", good + "\ngone.mp3\n", {Choice::Yes}, good + "\n", 1},
        {"a lone CR stays", "gone.mp3\r" + good + "\r", {Choice::Yes}, "\r" + good + "\r", 1},
        {"a last entry without terminator is never asked about", good + "\r\ngone.mp3", {}, good + "\r\ngone.mp3", 0},
        {"entries for another drive and relative ones are found",
         "C:\\Music\\song.mp3\r\n..\\Music\\song.mp3\r\n.\\..\\Music\\song.mp3\r\n", {},
         "C:\\Music\\song.mp3\r\n..\\Music\\song.mp3\r\n.\\..\\Music\\song.mp3\r\n", 0},
        {"names compare without regard to case", "\\MUSIC\\SONG.mp3\r\n\\music\\song two.mp3\r\n", {},
         "\\MUSIC\\SONG.mp3\r\n\\music\\song two.mp3\r\n", 0},
        {"..\\..\\ climbs past the root: looked up as written", "..\\..\\Music\\song.mp3\r\n", {Choice::No},
         "..\\..\\Music\\song.mp3\r\n", 1},
        {"No keeps the line", "gone.mp3\r\n" + good + "\r\n", {Choice::No}, "gone.mp3\r\n" + good + "\r\n", 1},
        {"Yes to All removes the rest unasked", "a.mp3\nb.mp3\n" + good + "\nc.mp3\n", {Choice::YesToAll},
         good + "\n", 1},
        {"No to All keeps the rest unasked", "a.mp3\nb.mp3\n", {Choice::NoToAll}, "a.mp3\nb.mp3\n", 1},
        {"a TAB makes an entry bad; a line of a TAB alone is passed over",
         good + "\r\n\\Music\\\tsong.mp3\r\n\t\r\n", {Choice::Yes}, good + "\r\n\t\r\n", 1},
    };
    for (const Case& c : cases) {
        testsupport::ScriptedUserInterface answers;
        for (const Choice choice : c.answers) answers.ScriptFileNotFoundAnswer({choice, false});
        decisions = {};
        flags.profileOffer = false;
        device.WritePlaylist("list.m3u", c.before);

        EXPECT_EQ(Check("list.m3u", answers), VerifyResult::Done) << c.name;
        EXPECT_EQ(answers.fileNotFoundQuestions().size(), c.questions) << c.name;
        if (c.after) {
            EXPECT_EQ(device.ReadPlaylist("list.m3u"), *c.after) << c.name;
        } else {
            EXPECT_FALSE(device.HasPlaylist("list.m3u")) << c.name;
        }
        EXPECT_EQ(flags.profileOffer, c.after != c.before) << c.name;
        EXPECT_TRUE(answers.messageBoxes().empty()) << c.name;
    }
}

TEST_F(PlaylistCheckerTest, ToAllAnswersCarryOverToTheNextPlaylistOnlyWithTheCheckBox)
{
    struct Case {
        Choice choice;
        bool applyToAllPlaylists;
        std::size_t questionsInTheSecond;
    };
    const Case cases[] = {
        {Choice::YesToAll, true, 0},
        {Choice::YesToAll, false, 1},
        {Choice::NoToAll, true, 0},
        {Choice::NoToAll, false, 1},
    };
    const std::string bad = "gone1.mp3\ngone2.mp3\n";
    for (const Case& c : cases) {
        testsupport::ScriptedUserInterface answers;
        answers.ScriptFileNotFoundAnswer({c.choice, c.applyToAllPlaylists});
        answers.ScriptFileNotFoundAnswer({c.choice, false});
        decisions = {};
        device.WritePlaylist("one.m3u", bad);
        device.WritePlaylist("two.m3u", bad);
        EXPECT_EQ(Check("one.m3u", answers), VerifyResult::Done);
        EXPECT_EQ(Check("two.m3u", answers), VerifyResult::Done);

        EXPECT_EQ(answers.fileNotFoundQuestions().size(), 1 + c.questionsInTheSecond);
        const bool removed = c.choice == Choice::YesToAll;
        EXPECT_EQ(device.HasPlaylist("two.m3u"), !removed);
    }
}

TEST_F(PlaylistCheckerTest, CancelLeavesThePlaylistAsItWas)
{
    const std::string before = "gone1.mp3\r\ngone2.mp3\r\n";
    device.WritePlaylist("list.m3u", before);
    Script({Choice::Yes, Choice::Cancel});
    EXPECT_EQ(Check("list.m3u"), VerifyResult::Cancelled);
    EXPECT_EQ(device.ReadPlaylist("list.m3u"), before);
    EXPECT_EQ(report.statuses, std::vector<std::string>{"status 4"});
    EXPECT_FALSE(flags.profileOffer);

    // Cancel in the verification dialog while the question is open: its answer no longer counts.
    CancellingUserInterface cancelling(flags);
    cancelling.ScriptFileNotFoundAnswer({Choice::Yes, true});
    EXPECT_EQ(Check("list.m3u", cancelling), VerifyResult::Cancelled);
    EXPECT_EQ(device.ReadPlaylist("list.m3u"), before);
    EXPECT_FALSE(decisions.applyToAllPlaylists);
}

TEST_F(PlaylistCheckerTest, ReadOnlyPlaylistChangesOnlyWhenThePersonSaysYes)
{
    struct Case {
        int32_t answer;
        bool changed;
    };
    for (const Case c : {Case{kIdNo, false}, Case{kIdYes, true}}) {
        testsupport::ScriptedUserInterface answers;
        answers.ScriptFileNotFoundAnswer({Choice::Yes, false});
        answers.ScriptMessageBoxAnswer(c.answer);
        flags.profileOffer = false;
        const std::string path = device.PlaylistPath("list.m3u");
        device.WritePlaylist("list.m3u", "gone.mp3\r\n\\Music\\song.mp3\r\n");
        ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttributeReadOnly | platform::kAttributeHidden));

        EXPECT_EQ(Check("list.m3u", answers), VerifyResult::Done);
        const auto boxes = answers.messageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Overwrite Prompt");
        EXPECT_EQ(boxes[0].text, "The " + path +
                                     " is currently marked as read-only.  Are you sure that you want to modify "
                                     "the file?");
        EXPECT_EQ(boxes[0].style, kMbYesNo | kMbIconExclamation);
        EXPECT_EQ(device.ReadPlaylist("list.m3u") == "\\Music\\song.mp3\r\n", c.changed);
        EXPECT_EQ(flags.profileOffer, c.changed);
        const uint32_t attributes = platform::GetFileAttributes(path);
        EXPECT_EQ((attributes & platform::kAttributeReadOnly) != 0, !c.changed);
        EXPECT_NE(attributes & platform::kAttributeHidden, 0u) << "the playlist keeps its attributes";
        platform::SetFileAttributes(path, platform::kAttributeNormal);
    }
}

TEST_F(PlaylistCheckerTest, DeviceThatGoesAwayStopsTheCheck)
{
    device.WritePlaylist("list.m3u", "gone.mp3\r\n");
    engine.devicePresent = [](const std::string&) { return false; };
    EXPECT_EQ(Check("list.m3u"), VerifyResult::DeviceGone);
    EXPECT_TRUE(ui.fileNotFoundQuestions().empty());

    engine.devicePresent = nullptr;
    device.Unplug();
    EXPECT_EQ(Check("list.m3u"), VerifyResult::DeviceGone);
}

}  // namespace
}  // namespace trayhost
