// Installs the build into a temporary prefix, as `cmake --install build --prefix DIR` does, and runs
// what was installed with no LD_LIBRARY_PATH: each program and library must find ours by itself.

#include "platform/windowdirectory.h"
#include "testsupport/childprocess.h"
#include "testsupport/devicetree.h"
#include "testsupport/runtimedirectory.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using testsupport::ChildProcess;

constexpr auto kRunTimeout = 60s;

bool TrayWindowShown()
{
    bool shown = false;
    platform::EnumTopLevelWindows([&](const platform::TopLevelWindow& window) {
        shown = shown || window.title == "KOVAHDTrayApp";
        return !shown;
    });
    return shown;
}

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ::unsetenv("LD_LIBRARY_PATH");
        char pattern[] = "/tmp/kovahdd-install-XXXXXX";
        prefix_ = ::mkdtemp(pattern);
        ChildProcess install({KOVA_CMAKE, "--install", KOVA_BUILD_DIR, "--prefix", prefix_}, {},
                             prefix_ + "/install-errors", prefix_ + "/install-output");
        installStatus_ = install.WaitForExit(kRunTimeout);
    }

    static void TearDownTestSuite() { fs::remove_all(prefix_); }

    // An installed file's path: a folder of the install (KOVA_INSTALL_*) and a name.
    static std::string Installed(const std::string& folder, const std::string& name)
    {
        return prefix_ + "/" + folder + "/" + name;
    }

    void SetUp() override
    {
        ASSERT_EQ(installStatus_, std::optional<int>(0)) << testsupport::ReadWholeFile(prefix_ + "/install-errors");
    }

    // Runs an installed program to its end; its output is in Output(name).
    std::optional<int> Run(const std::string& name, std::vector<std::string> command)
    {
        ChildProcess program(command, {}, Output(name), Output(name));
        return program.WaitForExit(kRunTimeout);
    }
    std::string Output(const std::string& name) const { return runtime_.path() + "/" + name; }

    static inline std::string prefix_;
    static inline std::optional<int> installStatus_;
    testsupport::ScopedRuntimeDirectory runtime_;
};

TEST_F(InstallTest, ProgramsAndTheCloserStartWithoutALibraryPath)
{
    EXPECT_EQ(Run("help", {Installed(KOVA_INSTALL_BINDIR, "kovahdd"), "--help"}), std::optional<int>(0));
    EXPECT_NE(testsupport::ReadWholeFile(Output("help")).find("Usage: kovahdd"), std::string::npos)
        << testsupport::ReadWholeFile(Output("help"));

    ChildProcess tray({Installed(KOVA_INSTALL_BINDIR, "KOVAHDDProfilerTrayApp")}, {{"QT_QPA_PLATFORM", "offscreen"}},
                      Output("tray"));
    const auto deadline = std::chrono::steady_clock::now() + kRunTimeout;
    while (!TrayWindowShown()) {
        ASSERT_EQ(tray.WaitForExit(0s), std::nullopt) << testsupport::ReadWholeFile(Output("tray"));
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the installed tray program showed no window";
        std::this_thread::sleep_for(50ms);
    }

    // The closer is loaded by a program of its own, which has loaded none of our libraries before.
    const std::string closer = Installed(KOVA_INSTALL_LIBDIR, "libKOVAHDCLOSEPROFILETRAYAPP.so");
    EXPECT_EQ(Run("closer", {KOVA_CALL_EXPORT, closer, "KovaHDCloseProfileTrayApp"}), std::optional<int>(0))
        << testsupport::ReadWholeFile(Output("closer"));
    EXPECT_EQ(tray.WaitForExit(5s), std::optional<int>(0));
}

// The autostart entry goes where the desktop looks for it: for a /usr install that is /etc.
TEST_F(InstallTest, DesktopEntriesNameTheInstalledProgramAndStartItAtLogin)
{
    const std::string staged = prefix_ + "/staged";
    ChildProcess systemInstall({KOVA_CMAKE, "--install", KOVA_BUILD_DIR, "--prefix", "/usr"}, {{"DESTDIR", staged}},
                               Output("system-install"), Output("system-install"));
    ASSERT_EQ(systemInstall.WaitForExit(kRunTimeout), std::optional<int>(0))
        << testsupport::ReadWholeFile(Output("system-install"));

    struct Case {
        std::string entry;
        std::string program;
    };
    const std::string trayProgram = Installed(KOVA_INSTALL_BINDIR, "KOVAHDDProfilerTrayApp");
    const std::string systemTrayProgram = "/usr/" KOVA_INSTALL_BINDIR "/KOVAHDDProfilerTrayApp";
    const Case cases[] = {
        {Installed(KOVA_INSTALL_DATADIR, "applications/kovahdd-tray.desktop"), trayProgram},
        {Installed(KOVA_INSTALL_SYSCONFDIR, "xdg/autostart/kovahdd-tray.desktop"), trayProgram},
        {staged + "/usr/" KOVA_INSTALL_DATADIR "/applications/kovahdd-tray.desktop", systemTrayProgram},
        {staged + "/etc/xdg/autostart/kovahdd-tray.desktop", systemTrayProgram},
    };
    for (const Case& c : cases) {
        const std::string exec = "\nExec=" + c.program + "\n";
        EXPECT_NE(testsupport::ReadWholeFile(c.entry).find(exec), std::string::npos) << c.entry;
    }
}

}  // namespace
