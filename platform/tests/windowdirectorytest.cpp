#include "platform/windowdirectory.h"

#include "testsupport/runtimedirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

using namespace std::chrono_literals;

constexpr uid_t kNobody = 65534;

// Records what reaches a published window and answers at once with a fixed result.
class RecordingHandler {
public:
    PublishedWindow::Handler handler(intptr_t result = 0)
    {
        return [this, result](const WindowMessage& message, PublishedWindow::Reply reply) {
            {
                std::lock_guard lock(mutex_);
                received_.push_back(message);
            }
            reply(result);
        };
    }
    std::vector<WindowMessage> received() const
    {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<WindowMessage> received_;
};

std::vector<TopLevelWindow> ListWindows()
{
    std::vector<TopLevelWindow> windows;
    EnumTopLevelWindows([&](const TopLevelWindow& window) {
        windows.push_back(window);
        return true;
    });
    return windows;
}

mode_t PermissionsOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

class WindowDirectoryTest : public ::testing::Test {
protected:
    std::string directory() const { return runtime_.path() + "/kovahdd"; }

    testsupport::ScopedRuntimeDirectory runtime_;
    RecordingHandler recorder_;
};

TEST_F(WindowDirectoryTest, PublishedWindowIsListedWithTitleClassAndProcess)
{
    const auto window = PublishedWindow::Publish("KOVAHDTrayApp", "KOVAHDTRAYAPP", recorder_.handler());
    ASSERT_NE(window, nullptr);

    const auto windows = ListWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].title, "KOVAHDTrayApp");
    EXPECT_EQ(windows[0].className, "KOVAHDTRAYAPP");
    EXPECT_EQ(windows[0].processId, ::getpid());
    EXPECT_EQ(windows[0].address, window->address());
}

TEST_F(WindowDirectoryTest, WindowDisappearsWithItsPublication)
{
    auto window = PublishedWindow::Publish("first", "", recorder_.handler());
    ASSERT_NE(window, nullptr);
    const std::string address = window->address();
    window.reset();

    EXPECT_TRUE(ListWindows().empty());
    EXPECT_FALSE(std::filesystem::exists(address));
}

TEST_F(WindowDirectoryTest, NoDirectoryYetMeansNoWindowsAndAFinishedWalk)
{
    bool visited = false;
    EXPECT_TRUE(EnumTopLevelWindows([&](const TopLevelWindow&) { return visited = true; }));
    EXPECT_FALSE(visited);
}

TEST_F(WindowDirectoryTest, WalkStopsWhenTheVisitorSaysSo)
{
    const auto first = PublishedWindow::Publish("first", "", recorder_.handler());
    const auto second = PublishedWindow::Publish("second", "", recorder_.handler());
    int visits = 0;
    EXPECT_FALSE(EnumTopLevelWindows([&](const TopLevelWindow&) {
        ++visits;
        return false;
    }));
    EXPECT_EQ(visits, 1);
}

TEST_F(WindowDirectoryTest, LeftoverOfAnEndedProcessIsRemoved)
{
    const auto live = PublishedWindow::Publish("live", "", recorder_.handler());
    ASSERT_NE(live, nullptr);
    // A socket nobody listens on any more, as a crashed process leaves it.
    const std::string leftover = directory() + "/99999999-1";
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    leftover.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);

    const auto windows = ListWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].title, "live");
    EXPECT_FALSE(std::filesystem::exists(leftover));
}

TEST_F(WindowDirectoryTest, SendWaitsUntilTheOwnerHasHandledTheMessage)
{
    std::vector<std::thread> owners;
    const auto window = PublishedWindow::Publish("slow", "", [&](const WindowMessage& message, PublishedWindow::Reply reply) {
        // Handled later on another thread, as the GUI thread of a program does.
        owners.emplace_back([message, reply] {
            std::this_thread::sleep_for(300ms);
            reply(static_cast<intptr_t>(message.wParam) + message.lParam);
        });
    });
    ASSERT_NE(window, nullptr);
    const TopLevelWindow target = ListWindows().at(0);

    const auto start = std::chrono::steady_clock::now();
    const auto result = SendTopLevelMessage(target, {kWmCommand, 40, 2});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    for (auto& owner : owners) owner.join();

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, 42);
    EXPECT_GE(elapsed, 300ms);
}

TEST_F(WindowDirectoryTest, MessageArrivesWithItsParameters)
{
    const auto window = PublishedWindow::Publish("target", "", recorder_.handler(7));
    const TopLevelWindow target = ListWindows().at(0);

    EXPECT_EQ(SendTopLevelMessage(target, {kWmClose, 0, 0}), std::optional<intptr_t>(7));
    EXPECT_EQ(SendTopLevelMessage(target, {kWmCommand, 0x10000 | 32772, -5}), std::optional<intptr_t>(7));

    const auto received = recorder_.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, kWmClose);
    EXPECT_EQ(received[1].message, kWmCommand);
    EXPECT_EQ(received[1].wParam, 0x10000u | 32772u);
    EXPECT_EQ(received[1].lParam, -5);
}

TEST_F(WindowDirectoryTest, SenderIsReleasedWhenTheWindowGoesAwayWithoutAnswering)
{
    PublishedWindow::Reply kept;
    std::promise<void> arrived;
    auto window = PublishedWindow::Publish("mute", "", [&](const WindowMessage&, PublishedWindow::Reply reply) {
        kept = std::move(reply);
        arrived.set_value();
    });
    const TopLevelWindow target = ListWindows().at(0);

    auto sent = std::async(std::launch::async, [&] { return SendTopLevelMessage(target, {kWmClose, 0, 0}); });
    ASSERT_EQ(arrived.get_future().wait_for(5s), std::future_status::ready);
    window.reset();

    ASSERT_EQ(sent.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(sent.get().has_value());
    kept(1);  // a late reply reaches nobody and harms nothing
}

TEST_F(WindowDirectoryTest, SendToAWindowThatIsGoneFails)
{
    auto window = PublishedWindow::Publish("gone", "", recorder_.handler());
    const TopLevelWindow target = ListWindows().at(0);
    window.reset();

    EXPECT_FALSE(SendTopLevelMessage(target, {kWmClose, 0, 0}).has_value());
}

TEST_F(WindowDirectoryTest, DirectoryIsPrivateToTheUser)
{
    ASSERT_EQ(::mkdir(directory().c_str(), 0755), 0);
    const auto window = PublishedWindow::Publish("w", "", recorder_.handler());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(PermissionsOf(directory()), 0700u);
}

TEST_F(WindowDirectoryTest, DirectoryThatIsNoDirectoryIsRefused)
{
    ASSERT_EQ(::symlink("/tmp", directory().c_str()), 0);
    EXPECT_EQ(PublishedWindow::Publish("w", "", recorder_.handler()), nullptr);
    EXPECT_FALSE(EnumTopLevelWindows([](const TopLevelWindow&) { return true; }));
}

TEST_F(WindowDirectoryTest, DirectoryOfAnotherUserIsRefused)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the directory away";
    ASSERT_EQ(::mkdir(directory().c_str(), 0700), 0);
    ASSERT_EQ(::chown(directory().c_str(), kNobody, kNobody), 0);

    EXPECT_EQ(PublishedWindow::Publish("w", "", recorder_.handler()), nullptr);
    EXPECT_FALSE(EnumTopLevelWindows([](const TopLevelWindow&) { return true; }));
}

// A connection from another user is closed at once, before any request is read; one from the same
// user is given time to send its request.
TEST_F(WindowDirectoryTest, PeerOfAnotherUserIsRefused)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to connect as another user";
    const auto window = PublishedWindow::Publish("w", "", recorder_.handler());
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(::chmod(runtime_.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(directory().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(window->address().c_str(), 0777), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setuid(kNobody) != 0) ::_exit(10);
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        window->address().copy(address.sun_path, sizeof address.sun_path - 1);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) ::_exit(11);
        const timeval timeout{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        char byte;
        // 0: closed by the window. -1: still waiting for a request after a second, i.e. accepted.
        ::_exit(::recv(fd, &byte, 1, 0) == 0 ? 0 : 12);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(recorder_.received().empty());
}

TEST(WindowDirectoryPathTest, RuntimeDirectoryOrPerUserFolderInTmp)
{
    testsupport::ScopedRuntimeDirectory runtime;
    EXPECT_EQ(WindowDirectoryPath(), runtime.path() + "/kovahdd");
    ::setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(WindowDirectoryPath(), "/tmp/kovahdd-" + std::to_string(::geteuid()));
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(WindowDirectoryPath(), "/tmp/kovahdd-" + std::to_string(::geteuid()));
}

}  // namespace
}  // namespace platform
