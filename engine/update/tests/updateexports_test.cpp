// Uses the update only through the engine library's exports, so that the installed-copies folder is
// found the way an installation finds it: beside the library itself.

#include "engine/kovahddprofiler.h"
#include "engine/update/tests/updatetestfiles.h"
#include "platform/errors.h"
#include "testsupport/devicetree.h"
#include "testsupport/flushrecorder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr unsigned char kPjModel = 2;

// The folder beside the built library, made for the test and removed after it.
class InstalledBesideLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("KOVAHDD_INSTALLED_FILES");
        ASSERT_FALSE(fs::exists(folder_)) << folder_ << " is left from elsewhere";
        Write("CORVANE/mp3.exe", testsupport::SystemFileBytes("mp3.exe", "V2.00", "BUILD1", "beside"));
        for (const char* name : {"SystemSettings_help.bin", "Main_help.bin", "UserPlaylists_help.bin"}) {
            Write(std::string("sys_help/") + name, testsupport::HelpFileBytes(name));
        }
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Write(const std::string& relative, const std::string& bytes)
    {
        fs::create_directories((folder_ / relative).parent_path());
        testsupport::WriteWholeFile((folder_ / relative).string(), bytes);
    }

    const fs::path folder_ = fs::path(KOVA_ENGINE_LIBRARY_DIR) / "kovahdd";
    testsupport::TemporaryDevice device_{'F'};
};

TEST_F(InstalledBesideLibraryTest, UpdatesTheDeviceFromTheFolderBesideTheLibrary)
{
    EXPECT_EQ(KOVAHDDUpdateHelpFiles(device_.letter()), 1);
    EXPECT_EQ(KOVAHDDUpdateSystemFiles(device_.letter(), kPjModel), 1);

    EXPECT_EQ(device_.ReadFile("kovahdd/mp3.exe"), testsupport::SystemFileBytes("mp3.exe", "V2.00", "BUILD1", "beside"));
    EXPECT_EQ(device_.ReadFile("kovahdd/sys_help/Main_help.bin"), testsupport::HelpFileBytes("Main_help.bin"));
}

// What an update copied is written back to the device before it says it is done; a device that
// cannot write it back fails the update.
TEST_F(InstalledBesideLibraryTest, AnUpdateIsOnTheDeviceBeforeItReturns)
{
    testsupport::FlushRecorder flushes;
    std::vector<bool> copiedAtFlush;
    flushes.onFlush = [&](const std::string&) { copiedAtFlush.push_back(device_.Exists("kovahdd/mp3.exe")); };
    EXPECT_EQ(KOVAHDDUpdateHelpFiles(device_.letter()), 1);
    EXPECT_EQ(KOVAHDDUpdateSystemFiles(device_.letter(), kPjModel), 1);
    EXPECT_EQ(flushes.folders, (std::vector<std::string>{device_.directory(), device_.directory()}));
    EXPECT_EQ(copiedAtFlush, (std::vector<bool>{false, true}));

    flushes.answer = platform::kErrorGenFailure;
    EXPECT_EQ(KOVAHDDUpdateHelpFiles(device_.letter()), 0);
    EXPECT_EQ(KOVAHDDUpdateSystemFiles(device_.letter(), kPjModel), 0);
}

}  // namespace
