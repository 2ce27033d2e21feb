#include "platform/codepage.h"
#include "platform/windowdirectory.h"
#include "testsupport/childprocess.h"
#include "testsupport/devicetree.h"
#include "testsupport/runtimedirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testsupport::ChildProcess;

constexpr auto kStartTimeout = 15s;

std::vector<platform::TopLevelWindow> TrayWindows()
{
    std::vector<platform::TopLevelWindow> windows;
    platform::EnumTopLevelWindows([&](const platform::TopLevelWindow& window) {
        if (platform::EqualsNoCase(window.title, "KOVAHDTrayApp")) windows.push_back(window);
        return true;
    });
    return windows;
}

bool WaitForTrayWindows(std::size_t count)
{
    const auto deadline = Clock::now() + kStartTimeout;
    while (TrayWindows().size() != count) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

std::size_t MissingTrayReportsIn(const std::string& errorFile)
{
    const std::string errors = testsupport::ReadWholeFile(errorFile);
    std::size_t reports = 0;
    for (std::size_t at = errors.find("no notification area"); at != std::string::npos;
         at = errors.find("no notification area", at + 1)) {
        ++reports;
    }
    return reports;
}

int32_t CallCloser()
{
    void* library = ::dlopen(KOVA_CLOSER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!library) return -1;
    const auto close = reinterpret_cast<int32_t (*)()>(::dlsym(library, "KovaHDCloseProfileTrayApp"));
    const int32_t result = close ? close() : -1;
    ::dlclose(library);
    return result;
}

class TrayProcessTest : public ::testing::Test {
protected:
    std::unique_ptr<ChildProcess> Start(std::map<std::string, std::string> environment = {})
    {
        environment.emplace("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<ChildProcess>(std::vector<std::string>{KOVA_TRAY_PROGRAM}, environment,
                                              ErrorFile(started_++));
    }
    std::string ErrorFile(int index) const { return runtime_.path() + "/stderr-" + std::to_string(index); }

    testsupport::ScopedRuntimeDirectory runtime_;
    int started_ = 0;
};

TEST_F(TrayProcessTest, SecondInstanceEndsAtOnceWithZeroAndTheFirstStays)
{
    const auto first = Start();
    ASSERT_TRUE(WaitForTrayWindows(1));

    const auto second = Start();
    EXPECT_EQ(second->WaitForExit(5s), std::optional<int>(0));
    EXPECT_EQ(first->WaitForExit(500ms), std::nullopt);
    const auto windows = TrayWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].processId, first->pid());
    EXPECT_EQ(windows[0].className, "KOVAHDTRAYAPP");
}

TEST_F(TrayProcessTest, CloserEndsEveryRunningTrayProgram)
{
    const auto first = Start();
    ASSERT_TRUE(WaitForTrayWindows(1));
    // A second program can only start where it does not see the first: it starts with a directory
    // of its own, and its window is then moved beside the first one's.
    testsupport::ScopedRuntimeDirectory elsewhere;
    const auto second = Start({{"XDG_RUNTIME_DIR", elsewhere.path()}});
    const std::filesystem::path otherDirectory = elsewhere.path() + "/kovahdd";
    const auto deadline = Clock::now() + kStartTimeout;
    while (!std::filesystem::exists(otherDirectory) || std::filesystem::is_empty(otherDirectory)) {
        ASSERT_LT(Clock::now(), deadline) << "the second program published no window";
        std::this_thread::sleep_for(50ms);
    }
    for (const auto& entry : std::filesystem::directory_iterator(otherDirectory)) {
        std::filesystem::rename(entry.path(), runtime_.path() + "/kovahdd/" + entry.path().filename().string());
    }
    ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
    ASSERT_TRUE(WaitForTrayWindows(2));

    const auto start = Clock::now();
    EXPECT_NE(CallCloser(), 0);
    EXPECT_GE(Clock::now() - start, 1000ms);
    EXPECT_EQ(first->WaitForExit(2s), std::optional<int>(0));
    EXPECT_EQ(second->WaitForExit(2s), std::optional<int>(0));
    EXPECT_TRUE(TrayWindows().empty());
}

TEST_F(TrayProcessTest, WithoutATrayTheProgramSaysSoOnceAndKeepsRunning)
{
    const auto tray = Start();
    ASSERT_TRUE(WaitForTrayWindows(1));
    // The tray is looked for every two seconds: long enough for more than one look.
    EXPECT_EQ(tray->WaitForExit(4500ms), std::nullopt);

    EXPECT_NE(CallCloser(), 0);
    EXPECT_EQ(tray->WaitForExit(2s), std::optional<int>(0));
    EXPECT_EQ(MissingTrayReportsIn(ErrorFile(0)), 1u);
}

TEST_F(TrayProcessTest, WithNoDisplayAtAllSaysSoInOneLineAndEndsWithOne)
{
    const auto tray = Start({{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_EQ(tray->WaitForExit(kStartTimeout), std::optional<int>(1));
    const std::string errors = testsupport::ReadWholeFile(ErrorFile(0));
    EXPECT_EQ(errors.rfind("KOVAHDDProfilerTrayApp: no display", 0), 0u) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
    EXPECT_TRUE(TrayWindows().empty());
}

// Answered before anything else: without a display, and while another instance runs.
TEST_F(TrayProcessTest, HelpAndVersionAreAnsweredWithoutADisplayBesideARunningInstance)
{
    const auto running = Start();
    ASSERT_TRUE(WaitForTrayWindows(1));
    struct Case {
        const char* option;
        std::string outputStart;
    };
    const Case cases[] = {
        {"--version", "KOVAHDDProfilerTrayApp " KOVAHDD_VERSION "\n"},
        {"--help", "Usage: KOVAHDDProfilerTrayApp [--help | --version]\n"},
    };
    for (const Case& c : cases) {
        const std::string output = runtime_.path() + "/output" + c.option;
        ChildProcess program({KOVA_TRAY_PROGRAM, c.option}, {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
                             ErrorFile(started_++), output);
        EXPECT_EQ(program.WaitForExit(kStartTimeout), std::optional<int>(0)) << c.option;
        EXPECT_EQ(testsupport::ReadWholeFile(output).rfind(c.outputStart, 0), 0u) << testsupport::ReadWholeFile(output);
    }
    EXPECT_EQ(TrayWindows().size(), 1u);
}

// On an X server: with an XEmbed tray the icon is taken and nothing is reported; without one the
// program says so once, and keeps running when a tray starts later.
TEST_F(TrayProcessTest, RunsOnAnXServerWithAndWithoutADesktopTray)
{
    if (::access("/usr/bin/Xvfb", X_OK) != 0 || ::access("/usr/bin/trayer", X_OK) != 0) {
        GTEST_SKIP() << "needs the packages xvfb and trayer";
    }
    int displayNumber = 90;
    while (std::filesystem::exists("/tmp/.X" + std::to_string(displayNumber) + "-lock")) ++displayNumber;
    const std::string display = ":" + std::to_string(displayNumber);
    const std::string errors = runtime_.path() + "/stderr-";
    ChildProcess server({"/usr/bin/Xvfb", display, "-nolisten", "tcp"}, {}, errors + "xvfb");
    const std::string serverSocket = "/tmp/.X11-unix/X" + std::to_string(displayNumber);
    const auto deadline = Clock::now() + kStartTimeout;
    while (!std::filesystem::exists(serverSocket)) {
        ASSERT_LT(Clock::now(), deadline) << "Xvfb did not start";
        std::this_thread::sleep_for(50ms);
    }
    const std::map<std::string, std::string> onServer{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", display}};

    {
        const auto tray = Start(onServer);
        ASSERT_TRUE(WaitForTrayWindows(1));
        EXPECT_EQ(tray->WaitForExit(3s), std::nullopt);
        ChildProcess panel({"/usr/bin/trayer"}, onServer, errors + "trayer-1");
        EXPECT_EQ(tray->WaitForExit(3s), std::nullopt);
        EXPECT_NE(CallCloser(), 0);
        EXPECT_EQ(tray->WaitForExit(2s), std::optional<int>(0));
        EXPECT_EQ(MissingTrayReportsIn(ErrorFile(0)), 1u);
    }
    {
        ChildProcess panel({"/usr/bin/trayer"}, onServer, errors + "trayer-2");
        std::this_thread::sleep_for(1s);
        const auto tray = Start(onServer);
        ASSERT_TRUE(WaitForTrayWindows(1));
        EXPECT_EQ(tray->WaitForExit(3s), std::nullopt);
        EXPECT_NE(CallCloser(), 0);
        EXPECT_EQ(tray->WaitForExit(2s), std::optional<int>(0));
        EXPECT_EQ(MissingTrayReportsIn(ErrorFile(1)), 0u);
    }
}

TEST(TrayProgramTest, ExportsDeviceDetectionByName)
{
    const std::string command = std::string("nm -D --defined-only ") + KOVA_TRAY_PROGRAM;
    std::unique_ptr<FILE, int (*)(FILE*)> symbols(::popen(command.c_str(), "r"), ::pclose);
    ASSERT_NE(symbols, nullptr);
    bool exported = false;
    char line[1024];
    while (std::fgets(line, sizeof line, symbols.get())) {
        exported = exported || std::string(line).find(" T KOVAHDDDetectionEnumDevices") != std::string::npos;
    }
    EXPECT_TRUE(exported);
}

}  // namespace
