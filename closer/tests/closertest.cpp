#include "platform/windowdirectory.h"
#include "testsupport/runtimedirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <dlfcn.h>

namespace {

using namespace std::chrono_literals;
using CloseFunction = int32_t (*)();

class LoadedCloser {
public:
    LoadedCloser() : library_(::dlopen(KOVA_CLOSER_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedCloser()
    {
        if (library_) ::dlclose(library_);
    }
    CloseFunction function() const
    {
        return library_ ? reinterpret_cast<CloseFunction>(::dlsym(library_, "KovaHDCloseProfileTrayApp")) : nullptr;
    }

private:
    void* library_;
};

// Windows of this process standing in for tray programs and others; each counts the WM_CLOSE it gets.
class CloserTest : public ::testing::Test {
protected:
    void Publish(const std::string& title)
    {
        auto window = platform::PublishedWindow::Publish(
            title, "KOVAHDTRAYAPP", [this, title](const platform::WindowMessage& message, platform::PublishedWindow::Reply reply) {
                std::lock_guard lock(mutex_);
                if (message.message == platform::kWmClose) ++closes_[title];
                reply(0);
            });
        ASSERT_NE(window, nullptr);
        windows_.push_back(std::move(window));
    }

    int closesOf(const std::string& title)
    {
        std::lock_guard lock(mutex_);
        return closes_[title];
    }

    int32_t CallCloser()
    {
        const CloseFunction close = closer_.function();
        EXPECT_NE(close, nullptr);
        return close ? close() : -1;
    }

    testsupport::ScopedRuntimeDirectory runtime_;
    LoadedCloser closer_;
    std::mutex mutex_;
    std::map<std::string, int> closes_;
    std::vector<std::unique_ptr<platform::PublishedWindow>> windows_;
};

TEST_F(CloserTest, WithNoTrayProgramRunningSendsNothingAndSucceeds)
{
    EXPECT_NE(CallCloser(), 0);

    Publish("KOVAHDTrayAppX");
    Publish("KOVAHDTray");
    Publish("");
    Publish("Some editor");
    EXPECT_NE(CallCloser(), 0);
    EXPECT_EQ(closesOf("KOVAHDTrayAppX"), 0);
    EXPECT_EQ(closesOf("KOVAHDTray"), 0);
    EXPECT_EQ(closesOf(""), 0);
    EXPECT_EQ(closesOf("Some editor"), 0);
}

TEST_F(CloserTest, ClosesEveryTrayProgramWhateverTheLetterCaseWithAPauseAfterEach)
{
    Publish("KOVAHDTrayApp");
    Publish("kovahdtrayapp");
    Publish("KOVAHDTrayAppX");

    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(CallCloser(), 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(closesOf("KOVAHDTrayApp"), 1);
    EXPECT_EQ(closesOf("kovahdtrayapp"), 1);
    EXPECT_EQ(closesOf("KOVAHDTrayAppX"), 0);
    EXPECT_GE(elapsed, 1000ms);
}

TEST_F(CloserTest, FailsWhenTheWindowsCannotBeExamined)
{
    // A file where the per-user directory belongs: the walk cannot run.
    std::ofstream(runtime_.path() + "/kovahdd") << "not a directory";
    EXPECT_EQ(CallCloser(), 0);
}

TEST(CloserLibraryTest, ExportsTheCloserAlone)
{
    const std::string command = std::string("nm -D --defined-only ") + KOVA_CLOSER_LIBRARY;
    std::unique_ptr<FILE, int (*)(FILE*)> symbols(::popen(command.c_str(), "r"), ::pclose);
    ASSERT_NE(symbols, nullptr);
    std::vector<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, symbols.get())) {
        std::string text(line);
        const auto space = text.find_last_of(' ');
        names.push_back(text.substr(space + 1, text.find_last_not_of("\n") - space));
    }
    EXPECT_EQ(names, std::vector<std::string>{"KovaHDCloseProfileTrayApp"});
}

}  // namespace
