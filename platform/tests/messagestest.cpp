#include "platform/messages.h"
#include "platform/module.h"
#include "platform/sound.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace platform;
using namespace std::chrono_literals;

constexpr uint32_t kProgress = kWmUser + 2;

class RecordingTarget : public MessageTarget {
public:
    void Post(const WindowMessage& message) override
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(message);
    }
    intptr_t Send(const WindowMessage& message) override { return static_cast<intptr_t>(message.wParam) * 2; }

    std::vector<WindowMessage> Posted()
    {
        std::lock_guard lock(mutex_);
        return posted_;
    }

private:
    std::mutex mutex_;
    std::vector<WindowMessage> posted_;
};

TEST(MessagesTest, PostAndSendReachTheTarget)
{
    RecordingTarget target;
    const WindowHandle window = RegisterWindow(&target);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(PostMessage(window, kProgress, 7, 1234));
    EXPECT_EQ(SendMessage(window, kWmCommand, 21, 0), 42);
    ASSERT_EQ(target.Posted().size(), 1u);
    EXPECT_EQ(target.Posted()[0].message, kProgress);
    EXPECT_EQ(target.Posted()[0].wParam, 7u);
    EXPECT_EQ(target.Posted()[0].lParam, 1234);
    UnregisterWindow(window);
}

TEST(MessagesTest, UnknownHandlesSwallowMessages)
{
    RecordingTarget target;
    const WindowHandle window = RegisterWindow(&target);
    UnregisterWindow(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(PostMessage(window, kProgress, 1, 0));
    EXPECT_EQ(SendMessage(window, kWmCommand, 1, 0), 0);
    EXPECT_FALSE(PostMessage(nullptr, kProgress, 1, 0));
    EXPECT_TRUE(target.Posted().empty());
    UnregisterWindow(window);  // twice is harmless
}

TEST(MessagesTest, HandlesAreNotReused)
{
    RecordingTarget first;
    RecordingTarget second;
    const WindowHandle old = RegisterWindow(&first);
    UnregisterWindow(old);
    const WindowHandle fresh = RegisterWindow(&second);
    EXPECT_NE(old, fresh);
    EXPECT_FALSE(PostMessage(old, kProgress, 1, 0));
    EXPECT_TRUE(second.Posted().empty());
    UnregisterWindow(fresh);
}

// Holds a Send until released, to see whether unregistering waits for it.
class BlockingTarget : public MessageTarget {
public:
    void Post(const WindowMessage&) override {}
    intptr_t Send(const WindowMessage&) override
    {
        entered_.set_value();
        release_.get_future().wait();
        finished_ = true;
        return 1;
    }

    std::promise<void> entered_;
    std::promise<void> release_;
    std::atomic<bool> finished_{false};
};

TEST(MessagesTest, UnregisterWaitsForCallsOnOtherThreads)
{
    BlockingTarget target;
    const WindowHandle window = RegisterWindow(&target);
    std::thread sender([&] { SendMessage(window, kWmCommand, 0, 0); });
    target.entered_.get_future().wait();

    std::future<void> unregistered = std::async(std::launch::async, [&] { UnregisterWindow(window); });
    EXPECT_EQ(unregistered.wait_for(100ms), std::future_status::timeout);
    EXPECT_FALSE(IsWindow(window));  // no new call gets in meanwhile
    target.release_.set_value();
    ASSERT_EQ(unregistered.wait_for(10s), std::future_status::ready);
    EXPECT_TRUE(target.finished_);
    sender.join();
}

// Closes its own window while handling a message, as a dialog does on WM_CLOSE.
class SelfClosingTarget : public MessageTarget {
public:
    void Post(const WindowMessage&) override {}
    intptr_t Send(const WindowMessage&) override
    {
        UnregisterWindow(window);
        return 5;
    }
    WindowHandle window = nullptr;
};

TEST(MessagesTest, TargetMayUnregisterItselfWhileHandling)
{
    SelfClosingTarget target;
    target.window = RegisterWindow(&target);
    std::future<intptr_t> result = std::async(std::launch::async, [&] { return SendMessage(target.window, kWmClose, 0, 0); });
    ASSERT_EQ(result.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(result.get(), 5);
    EXPECT_FALSE(IsWindow(target.window));
}

TEST(SoundTest, BeepsGoToTheInstalledPlayer)
{
    MessageBeep(kBeepExclamation);  // nothing installed: nothing happens
    std::vector<uint32_t> played;
    SetBeepPlayer([&](uint32_t type) { played.push_back(type); });
    MessageBeep(kBeepExclamation);
    MessageBeep(0);
    SetBeepPlayer(nullptr);
    MessageBeep(kBeepExclamation);
    EXPECT_EQ(played, (std::vector<uint32_t>{kBeepExclamation, 0}));
}

TEST(ModuleTest, PathsOfTheProgramAndTheLibrary)
{
    const std::string program = ExecutablePath();
    EXPECT_NE(program.find("platform_tests"), std::string::npos) << program;
    const std::string library = ModulePathOf(reinterpret_cast<const void*>(&ModulePathOf));
    EXPECT_EQ(library.front(), '/');
    EXPECT_NE(library.find("libkovaplatform.so"), std::string::npos) << library;
    static const int inProgram = 0;
    EXPECT_EQ(ModulePathOf(&inProgram), program);
    EXPECT_EQ(ModulePathOf(nullptr), "");
}

}  // namespace
