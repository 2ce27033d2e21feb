#include "engine/update/helpfileupdate.h"

#include "engine/update/tests/updatetestfiles.h"
#include "testsupport/devicetree.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using testsupport::HelpFileBytes;

constexpr std::array kHelpFiles = {"SystemSettings_help.bin", "Main_help.bin", "UserPlaylists_help.bin"};
constexpr int64_t kInstalledTime = 1'600'000'000;  // seconds since 1970

class HelpFileUpdateTest : public ::testing::Test {
protected:
    void InstallAll()
    {
        for (const char* name : kHelpFiles) Install(name, HelpFileBytes(std::string("installed ") + name));
    }

    void Install(const std::string& name, const std::string& bytes)
    {
        installed_.WriteFile("sys_help/" + name, bytes);
        ASSERT_TRUE(platform::SetLastWriteTime(installed_.Path("sys_help/" + name), kInstalledTime));
    }

    // Puts a help file on the device with its last-write time this many seconds after the installed copy's.
    void PutOnDevice(const std::string& name, const std::string& bytes, int64_t secondsAfterInstalled)
    {
        device_.WriteFile("kovahdd/sys_help/" + name, bytes);
        ASSERT_TRUE(platform::SetLastWriteTime(DevicePath(name), kInstalledTime + secondsAfterInstalled));
    }

    std::string DevicePath(const std::string& name) const
    {
        return testsupport::DevicePath(device_, "kovahdd/sys_help/" + name);
    }

    std::string OnDevice(const std::string& name) const { return device_.ReadFile("kovahdd/sys_help/" + name); }

    int32_t UpdateMain() const { return engine::UpdateHelpFile(device_.root() + "\\kovahdd\\sys_help", "Main_help.bin"); }

    testsupport::TemporaryDevice device_;
    testsupport::InstalledCopies installed_;
    const std::string installedMain_ = HelpFileBytes("installed Main_help.bin");
};

TEST_F(HelpFileUpdateTest, AnEmptyDeviceGetsItsFoldersAndEveryHelpFile)
{
    InstallAll();

    EXPECT_EQ(engine::UpdateHelpFiles(device_.letter()), engine::kHelpFilesUpdated);

    EXPECT_NE(platform::GetFileAttributes(device_.root() + "\\kovahdd") & platform::kAttributeHidden, 0u);
    EXPECT_EQ(platform::GetFileAttributes(device_.root() + "\\kovahdd\\sys_help") & platform::kAttributeHidden, 0u);
    for (const char* name : kHelpFiles) EXPECT_EQ(OnDevice(name), HelpFileBytes(std::string("installed ") + name));
}

TEST_F(HelpFileUpdateTest, ADeviceCopyOfTheSameSecondIsCopiedAgain)
{
    InstallAll();
    PutOnDevice("Main_help.bin", HelpFileBytes("device"), 0);

    EXPECT_EQ(UpdateMain(), engine::kHelpFilesUpdated);

    EXPECT_EQ(OnDevice("Main_help.bin"), installedMain_);
}

TEST_F(HelpFileUpdateTest, AnOlderDeviceCopyIsReplacedAndANewerOneKept)
{
    InstallAll();
    PutOnDevice("Main_help.bin", HelpFileBytes("older"), -10);
    EXPECT_EQ(UpdateMain(), engine::kHelpFilesUpdated);
    EXPECT_EQ(OnDevice("Main_help.bin"), installedMain_);

    PutOnDevice("Main_help.bin", HelpFileBytes("newer"), 10);
    EXPECT_EQ(UpdateMain(), engine::kHelpFilesUpdated);
    EXPECT_EQ(OnDevice("Main_help.bin"), HelpFileBytes("newer"));
}

TEST_F(HelpFileUpdateTest, ADamagedDeviceCopyIsReplacedHoweverNewItIs)
{
    InstallAll();
    for (const std::string& damaged : {std::string("KOVAHDHLX\0abcde\0body", 21), std::string("KOVAHD")}) {
        PutOnDevice("Main_help.bin", damaged, 100);
        EXPECT_EQ(UpdateMain(), engine::kHelpFilesUpdated);
        EXPECT_EQ(OnDevice("Main_help.bin"), installedMain_);
    }
}

TEST_F(HelpFileUpdateTest, AReadOnlyDeviceCopyIsReplaced)
{
    InstallAll();
    PutOnDevice("Main_help.bin", HelpFileBytes("older"), -10);
    ASSERT_TRUE(platform::SetFileAttributes(DevicePath("Main_help.bin"), platform::kAttributeReadOnly));

    EXPECT_EQ(UpdateMain(), engine::kHelpFilesUpdated);

    EXPECT_EQ(OnDevice("Main_help.bin"), installedMain_);
}

TEST_F(HelpFileUpdateTest, AMissingInstalledCopyFailsTheUpdateButNotTheOtherFiles)
{
    Install("SystemSettings_help.bin", HelpFileBytes("settings"));
    Install("UserPlaylists_help.bin", HelpFileBytes("playlists"));

    EXPECT_EQ(engine::UpdateHelpFiles(device_.letter()), engine::kHelpFileFailed);

    EXPECT_EQ(OnDevice("SystemSettings_help.bin"), HelpFileBytes("settings"));
    EXPECT_EQ(OnDevice("UserPlaylists_help.bin"), HelpFileBytes("playlists"));
}

TEST_F(HelpFileUpdateTest, AShortInstalledCopyFailsAndIsNotCopied)
{
    Install("Main_help.bin", "KOVAHDHLP");
    device_.MakeFolder("kovahdd/sys_help");

    EXPECT_EQ(UpdateMain(), engine::kHelpFileFailed);

    EXPECT_FALSE(device_.Exists("kovahdd/sys_help/Main_help.bin"));
}

TEST_F(HelpFileUpdateTest, AnInstalledCopyWithoutAValidHeaderIsNeverCopied)
{
    Install("Main_help.bin", std::string("not a help file at all"));
    device_.MakeFolder("kovahdd/sys_help");

    EXPECT_EQ(UpdateMain(), engine::kHelpFilesUpdated);

    EXPECT_FALSE(device_.Exists("kovahdd/sys_help/Main_help.bin"));
}

TEST_F(HelpFileUpdateTest, FoldersThatCannotBeCreatedEndTheUpdate)
{
    InstallAll();
    device_.WriteFile("kovahdd", "a file where the folder should be");
    EXPECT_EQ(engine::UpdateHelpFiles(device_.letter()), engine::kHelpFileFailed);

    device_.Unplug();
    EXPECT_EQ(engine::UpdateHelpFiles(device_.letter()), engine::kHelpDeviceFolderFailed);
}

}  // namespace
