#include "trayhost/sync/syncworker.h"

#include "platform/messages.h"
#include "testsupport/devicetree.h"
#include "testsupport/scripteduserinterface.h"
#include "testsupport/userfolders.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/resources/ids.h"
#include "trayhost/sync/syncprofilestore.h"
#include "trayhost/sync/syncstate.h"
#include "trayhost/tests/manualclock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace trayhost {
namespace {

// The progress dialog as the worker reaches it: records each message in order, as
// "notice 3", "front", "done", "close", a posted one with a '+' ("+notice 0"). A per-entry notice is
// taken from the mailbox at once, as a dialog that keeps up would.
class RecordingDialog : public platform::MessageTarget {
public:
    explicit RecordingDialog(SyncProgressMailbox& mailbox) : mailbox_(mailbox) {}

    void Post(const platform::WindowMessage& message) override
    {
        messages.push_back("+" + Describe(message));
        if (message.message == kSyncProgressMessage) mailbox_.Take();
    }
    intptr_t Send(const platform::WindowMessage& message) override
    {
        messages.push_back(Describe(message));
        if (onSend) onSend(message);
        return 0;
    }

    std::vector<std::string> messages;
    std::function<void(const platform::WindowMessage&)> onSend;

private:
    static std::string Describe(const platform::WindowMessage& message)
    {
        switch (message.message) {
        case kSyncProgressMessage: return "notice " + std::to_string(message.wParam);
        case kSyncBringToFrontMessage: return "front";
        case kSyncShowDoneMessage: return "done";
        case platform::kWmCommand: return "command " + std::to_string(message.wParam);
        default: return "message " + std::to_string(message.message);
        }
    }

    SyncProgressMailbox& mailbox_;
};

class SyncWorkerTest : public testing::Test {
protected:
    SyncWorkerTest() { link.SetDialog(dialogHandle); }
    ~SyncWorkerTest() override { platform::UnregisterWindow(dialogHandle); }

    // Stores a profile of one item, P:\Music to E:\Music, PC to device.
    void StoreProfile(SyncOption option = SyncOption::PcToDevice, char deviceLetter = 'E')
    {
        SyncSettings profile;
        profile.option = option;
        profile.deviceLetter = deviceLetter;
        SyncItem& item = profile.items.emplace_back();
        item.pcPath = "P:\\Music";
        item.devicePath = "E:\\Music";
        ASSERT_TRUE(SaveSyncSettings(profile));
    }

    SyncProfileFlaw Run()
    {
        return SyncWorker({settings, link, ui, clock, cancel, conflicts, engine}).Run();
    }

    bool StateFileExists() const { return std::filesystem::exists(SyncStateFilePath()); }

    testsupport::ScopedUserFolders folders;
    testsupport::TemporaryDevice pc{'P'};
    testsupport::TemporaryDevice device{'E'};
    SyncSettings settings;
    SyncProgressMailbox mailbox;
    SyncDialogLink link{mailbox};
    RecordingDialog dialog{mailbox};
    platform::WindowHandle dialogHandle = platform::RegisterWindow(&dialog);
    testsupport::ScriptedUserInterface ui;
    ManualClock clock;
    std::atomic<int32_t> cancel{0};
    SyncConflictMemory conflicts;
    LibraryProfilerEngine engine;
};

TEST_F(SyncWorkerTest, ASuccessfulRunWritesTheStateThenShowsDoneThenPostsComplete)
{
    pc.WriteFile("Music/a.mp3", "A");
    StoreProfile();
    conflicts.applyToAll = true;

    EXPECT_EQ(Run(), SyncProfileFlaw::None);
    EXPECT_EQ(dialog.messages, (std::vector<std::string>{"notice 3", "notice 6", "+notice 0", "notice 9", "front",
                                                         "notice 8", "done", "+notice 10"}));
    EXPECT_EQ(device.ReadFile("Music/a.mp3"), "A");
    SyncSettings next;
    ASSERT_TRUE(ReadSyncState(next));
    EXPECT_EQ(next.stateMap.size(), 2u);  // the PC file and its copy
    // Whatever the outcome, the run's state is let go and apply-to-all ends with it.
    EXPECT_TRUE(settings.stateMap.empty());
    EXPECT_FALSE(conflicts.applyToAll);
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(SyncWorkerTest, AFlawedProfileIsToldAndClosesTheDialog)
{
    struct Case {
        const char* name;
        SyncOption option;
        bool withItem;
        SyncProfileFlaw flaw;
        const char* text;
        const char* title;
    };
    const Case cases[] = {
        {"option 7", static_cast<SyncOption>(7), true, SyncProfileFlaw::InvalidOption,
         "Invalid synchronization option specified.  Synchronization aborted.", "Invalid Option"},
        {"no items", SyncOption::PcToDevice, false, SyncProfileFlaw::NoItems,
         "Must specify valid synchronization path options.", "Invalid Sync Paths"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog.messages.clear();
        SyncSettings profile;
        profile.option = c.option;
        profile.deviceLetter = 'E';
        if (c.withItem) profile.items.push_back({{}, {}, "P:\\Music", "E:\\Music"});
        ASSERT_TRUE(SaveSyncSettings(profile));

        EXPECT_EQ(Run(), c.flaw);
        EXPECT_EQ(dialog.messages, (std::vector<std::string>{"notice 3", "command 1"}));
        const auto boxes = ui.messageBoxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().text, c.text);
        EXPECT_EQ(boxes.back().title, c.title);
        EXPECT_EQ(boxes.back().owner, dialogHandle);
        EXPECT_EQ(boxes.back().style, kMbOk | kMbIconExclamation);
        EXPECT_FALSE(StateFileExists());
    }
}

TEST_F(SyncWorkerTest, WhatTheRunLeftAloneIsToldBeforeTheDialogMayClose)
{
    pc.WriteFile("Music/a.mp3", "A");
    pc.WriteFile("Music/\xE6\x97\xA5\xE6\x9C\xAC.mp3", "nihon");  // 日本.mp3: not in Windows-1252
    StoreProfile();

    Run();
    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Device Synchronization");
    EXPECT_NE(boxes[0].text.find("P:\\Music\\??.mp3"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(dialog.messages.back(), "+notice 10");
    EXPECT_FALSE(device.Exists("Music/??.mp3"));
}

}  // namespace
}  // namespace trayhost
