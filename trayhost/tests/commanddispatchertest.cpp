#include "trayhost/commanddispatcher.h"

#include "trayhost/tests/fakedetection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trayhost {
namespace {

// Records which handler ran and which device was selected when it did.
class CommandDispatcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FakeDetection::Attach({{'E', kModelHd}, {'F', kModelHd}, {'G', kModelPj}});
        devices_.Rebuild("");
        const std::pair<Command, const char*> commands[] = {
            {Command::Profile, "profile"}, {Command::Close, "close"},       {Command::About, "about"},
            {Command::Update, "update"},   {Command::Verify, "verify"},     {Command::KovaSync, "kovasync"},
            {Command::StartSync, "startsync"},
        };
        for (const auto& [command, name] : commands) {
            dispatcher_.SetHandler(command, [this, name = std::string(name)] {
                ran_.push_back(name + "@" + std::to_string(devices_.selectedIndex()));
            });
        }
    }

    DeviceTable devices_{&FakeDetection::Enumerate};
    CommandDispatcher dispatcher_{devices_};
    std::vector<std::string> ran_;
};

TEST_F(CommandDispatcherTest, EachCommandRunsItsHandler)
{
    for (const uint32_t id : {32771u, 32772u, 32773u, 32774u, 32777u, 32779u, 32780u}) {
        EXPECT_TRUE(dispatcher_.Dispatch(id)) << id;
    }
    EXPECT_EQ(ran_, (std::vector<std::string>{"profile@0", "close@0", "about@0", "update@0", "verify@0",
                                              "kovasync@0", "startsync@0"}));
}

TEST_F(CommandDispatcherTest, DeviceSubmenuCommandsSelectTheirDeviceFirst)
{
    EXPECT_TRUE(dispatcher_.Dispatch(602));
    EXPECT_TRUE(dispatcher_.Dispatch(701));
    EXPECT_TRUE(dispatcher_.Dispatch(800));
    EXPECT_EQ(ran_, (std::vector<std::string>{"profile@2", "update@1", "verify@0"}));
}

TEST_F(CommandDispatcherTest, DeviceIndexReachesTheLastTableEntryAndNoFurther)
{
    EXPECT_TRUE(dispatcher_.Dispatch(625));
    EXPECT_FALSE(dispatcher_.Dispatch(626));
    EXPECT_FALSE(dispatcher_.Dispatch(726));
    EXPECT_FALSE(dispatcher_.Dispatch(826));
    EXPECT_EQ(ran_, std::vector<std::string>{"profile@25"});
}

TEST_F(CommandDispatcherTest, CommandsWithANotificationCodeAreIgnored)
{
    EXPECT_FALSE(dispatcher_.Dispatch((1u << 16) | 32772u));
    EXPECT_FALSE(dispatcher_.Dispatch((1u << 16) | 601u));
    EXPECT_TRUE(ran_.empty());
    EXPECT_EQ(devices_.selectedIndex(), 0);
}

TEST_F(CommandDispatcherTest, UnknownCommandsAndCommandsWithoutHandlerAreNotHandled)
{
    EXPECT_FALSE(dispatcher_.Dispatch(32775));
    EXPECT_FALSE(dispatcher_.Dispatch(0));
    EXPECT_FALSE(dispatcher_.Dispatch(599));

    DeviceTable devices{&FakeDetection::Enumerate};
    CommandDispatcher bare{devices};
    EXPECT_FALSE(bare.Dispatch(32771));
    EXPECT_TRUE(ran_.empty());
}

TEST_F(CommandDispatcherTest, ALaterHandlerReplacesTheFirst)
{
    bool replaced = false;
    dispatcher_.SetHandler(Command::Profile, [&] { replaced = true; });
    dispatcher_.Dispatch(32771);
    EXPECT_TRUE(replaced);
    EXPECT_TRUE(ran_.empty());
}

}  // namespace
}  // namespace trayhost
