#include "engine/update/systemfileupdate.h"

#include "engine/update/tests/updatetestfiles.h"
#include "testsupport/devicetree.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <array>
#include <optional>
#include <string>

namespace {

using engine::SystemFileOutcome;
using testsupport::SystemFileBytes;

constexpr std::array kSystemFiles = {"config.exe", "mp3.exe", "usi.exe", "pfr.exe"};
constexpr unsigned char kHdModel = 1;
constexpr unsigned char kPjModel = 2;

class SystemFileUpdateTest : public ::testing::Test {
protected:
    void InstallAll(const std::string& modelFolder, std::string_view version = "V1.10")
    {
        for (const char* name : kSystemFiles) {
            installed_.WriteFile(modelFolder + "/" + name, SystemFileBytes(name, version, "BUILD1", modelFolder));
        }
    }

    uint32_t DeviceAttributes(std::string_view relative) const
    {
        return platform::GetFileAttributes(testsupport::DevicePath(device_, relative));
    }

    std::string SystemFolder() const { return device_.root() + "\\kovahdd"; }

    testsupport::TemporaryDevice device_;
    testsupport::InstalledCopies installed_;
};

TEST_F(SystemFileUpdateTest, AnEmptyDeviceGetsItsFoldersAndEverySystemFile)
{
    InstallAll("VANTOR");

    EXPECT_EQ(engine::UpdateSystemFiles(device_.letter(), kHdModel), engine::kSystemFilesUpdated);

    EXPECT_NE(DeviceAttributes("kovahdd") & platform::kAttributeHidden, 0u);
    ASSERT_TRUE(device_.Exists("kovahdd_playlists"));
    EXPECT_EQ(DeviceAttributes("kovahdd_playlists") & platform::kAttributeHidden, 0u);
    for (const char* name : kSystemFiles) {
        EXPECT_EQ(device_.ReadFile(std::string("kovahdd/") + name), SystemFileBytes(name, "V1.10", "BUILD1", "VANTOR"));
    }
}

TEST_F(SystemFileUpdateTest, ASystemFolderThereAlreadyKeepsItsAttributes)
{
    InstallAll("VANTOR");
    device_.MakeFolder("kovahdd");

    EXPECT_EQ(engine::UpdateSystemFiles(device_.letter(), kHdModel), engine::kSystemFilesUpdated);

    EXPECT_EQ(DeviceAttributes("kovahdd") & platform::kAttributeHidden, 0u);
}

TEST_F(SystemFileUpdateTest, ANewerDeviceFileIsKeptAndReported)
{
    InstallAll("VANTOR", "V1.10");
    const std::string newer = SystemFileBytes("mp3.exe", "V1.20", "BUILD1", "device");
    device_.WriteFile("kovahdd/mp3.exe", newer);

    EXPECT_EQ(engine::UpdateSystemFiles(device_.letter(), kHdModel), engine::kDeviceSystemFilesNewer);

    EXPECT_EQ(device_.ReadFile("kovahdd/mp3.exe"), newer);
    EXPECT_EQ(device_.ReadFile("kovahdd/usi.exe"), SystemFileBytes("usi.exe", "V1.10", "BUILD1", "VANTOR"));
}

TEST_F(SystemFileUpdateTest, EachModelTakesTheCopiesOfItsOwnFolder)
{
    InstallAll("VANTOR");
    InstallAll("CORVANE");
    for (const unsigned char model : {kPjModel, static_cast<unsigned char>(0), static_cast<unsigned char>(7)}) {
        SCOPED_TRACE(int(model));
        device_.WriteFile("kovahdd/pfr.exe", "old");
        engine::UpdateSystemFiles(device_.letter(), model);
        EXPECT_EQ(device_.ReadFile("kovahdd/pfr.exe"), SystemFileBytes("pfr.exe", "V1.10", "BUILD1", "CORVANE"));
    }
    device_.WriteFile("kovahdd/pfr.exe", "old");
    engine::UpdateSystemFiles(device_.letter(), kHdModel);
    EXPECT_EQ(device_.ReadFile("kovahdd/pfr.exe"), SystemFileBytes("pfr.exe", "V1.10", "BUILD1", "VANTOR"));
}

TEST_F(SystemFileUpdateTest, AReadOnlyDeviceFileIsReplacedAndMadeWritable)
{
    InstallAll("VANTOR", "V1.10");
    device_.WriteFile("kovahdd/mp3.exe", SystemFileBytes("mp3.exe", "V1.00", "BUILD1", "device"));
    const std::string devicePath = testsupport::DevicePath(device_, "kovahdd/mp3.exe");
    ASSERT_TRUE(platform::SetFileAttributes(devicePath, platform::kAttributeReadOnly));

    EXPECT_EQ(engine::UpdateSystemFiles(device_.letter(), kHdModel), engine::kSystemFilesUpdated);

    EXPECT_EQ(device_.ReadFile("kovahdd/mp3.exe"), SystemFileBytes("mp3.exe", "V1.10", "BUILD1", "VANTOR"));
    EXPECT_EQ(DeviceAttributes("kovahdd/mp3.exe") & platform::kAttributeReadOnly, 0u);
}

TEST_F(SystemFileUpdateTest, AReadOnlyInstalledCopyGivesAWritableDeviceFile)
{
    InstallAll("VANTOR");
    ASSERT_TRUE(platform::SetFileAttributes(installed_.Path("VANTOR/usi.exe"), platform::kAttributeReadOnly));

    EXPECT_EQ(engine::UpdateSystemFiles(device_.letter(), kHdModel), engine::kSystemFilesUpdated);

    EXPECT_EQ(DeviceAttributes("kovahdd/usi.exe") & platform::kAttributeReadOnly, 0u);
}

TEST_F(SystemFileUpdateTest, ACopyThatFailsIsReportedWhileTheOthersGoOn)
{
    InstallAll("VANTOR");
    device_.MakeFolder("kovahdd/mp3.exe");

    EXPECT_EQ(engine::UpdateSystemFiles(device_.letter(), kHdModel), engine::kSystemFileCopyFailed);

    EXPECT_TRUE(device_.Exists("kovahdd/pfr.exe"));
}

// A hostile device may hold a link where a system file belongs: nothing is written through it.
TEST_F(SystemFileUpdateTest, ALinkOnTheDeviceIsNeitherWrittenNorMadeWritableThroughIt)
{
    InstallAll("VANTOR");
    const testsupport::TemporaryDevice computer('O');
    computer.WriteFile("victim.exe", "mine");
    ASSERT_EQ(chmod(computer.LinuxPath("victim.exe").c_str(), 0444), 0);
    device_.MakeFolder("kovahdd");
    ASSERT_EQ(symlink(computer.LinuxPath("victim.exe").c_str(), device_.LinuxPath("kovahdd/mp3.exe").c_str()), 0);

    engine::UpdateSystemFiles(device_.letter(), kHdModel);

    EXPECT_EQ(computer.ReadFile("victim.exe"), "mine");
    struct stat status {};
    ASSERT_EQ(stat(computer.LinuxPath("victim.exe").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0222, 0u);
}

TEST_F(SystemFileUpdateTest, WithoutInstalledCopiesNothingIsCopied)
{
    engine::SetInstalledCopiesFolder("/nonexistent/kovahdd");

    EXPECT_EQ(engine::UpdateSystemFiles(device_.letter(), kHdModel), engine::kSystemFilesUpdated);

    EXPECT_TRUE(device_.Exists("kovahdd"));
    EXPECT_FALSE(device_.Exists("kovahdd/mp3.exe"));
}

TEST_F(SystemFileUpdateTest, AFolderThatCannotBeCreatedEndsTheUpdate)
{
    InstallAll("VANTOR");
    device_.Unplug();

    EXPECT_EQ(engine::UpdateSystemFiles(device_.letter(), kHdModel), engine::kSystemFolderFailed);
}

// How one file's installed and device copies decide its update.
struct DecisionCase {
    const char* label;
    std::optional<std::string> installed;  // of "mp3.exe" for the HD model; none when not installed
    std::optional<std::string> device;     // none when the device lacks it
    SystemFileOutcome outcome;
};

void PrintTo(const DecisionCase& decision, std::ostream* out)
{
    *out << decision.label;
}

class SystemFileDecisionTest : public SystemFileUpdateTest, public ::testing::WithParamInterface<DecisionCase> {};

TEST_P(SystemFileDecisionTest, CopiesOnlyWhenTheInstalledCopyShouldReplaceTheDevices)
{
    const DecisionCase& decision = GetParam();
    if (decision.installed) installed_.WriteFile("VANTOR/mp3.exe", *decision.installed);
    if (decision.device) device_.WriteFile("kovahdd/mp3.exe", *decision.device);
    device_.MakeFolder("kovahdd");

    EXPECT_EQ(engine::UpdateSystemFile(kHdModel, SystemFolder(), "mp3.exe"), decision.outcome);

    if (decision.outcome == SystemFileOutcome::Copied) {
        EXPECT_EQ(device_.ReadFile("kovahdd/mp3.exe"), *decision.installed);
    } else if (decision.device) {
        EXPECT_EQ(device_.ReadFile("kovahdd/mp3.exe"), *decision.device);
    } else {
        EXPECT_FALSE(device_.Exists("kovahdd/mp3.exe"));
    }
}

const std::string kInstalled = SystemFileBytes("mp3.exe", "V1.10", "BUILD1", "installed");

INSTANTIATE_TEST_SUITE_P(
    Headers, SystemFileDecisionTest,
    ::testing::Values(
        DecisionCase{"DeviceLacksIt", kInstalled, std::nullopt, SystemFileOutcome::Copied},
        DecisionCase{"NotInstalled", std::nullopt, SystemFileBytes("mp3.exe", "V0.10", "BUILD1"),
                     SystemFileOutcome::Kept},
        DecisionCase{"LowerDeviceVersion", kInstalled, SystemFileBytes("mp3.exe", "V1.00", "BUILD1"),
                     SystemFileOutcome::Copied},
        DecisionCase{"SameVersionOtherIdentifier", kInstalled, SystemFileBytes("mp3.exe", "V1.10", "BUILD2"),
                     SystemFileOutcome::Copied},
        DecisionCase{"HigherDeviceVersionOtherIdentifier", kInstalled, SystemFileBytes("mp3.exe", "V1.20", "BUILD2"),
                     SystemFileOutcome::Copied},
        DecisionCase{"HigherDeviceVersion", kInstalled, SystemFileBytes("mp3.exe", "v1.2", "build1"),
                     SystemFileOutcome::DeviceNewer},
        DecisionCase{"SameVersionAndIdentifierInAnyCase", kInstalled, SystemFileBytes("MP3.EXE", "v1.1", "build1"),
                     SystemFileOutcome::Kept},
        DecisionCase{"DeviceVersionWithoutV", kInstalled, SystemFileBytes("mp3.exe", "1.20", "BUILD1"),
                     SystemFileOutcome::Copied},
        DecisionCase{"DeviceHeaderShort", kInstalled, std::string("MZ short"), SystemFileOutcome::Copied},
        DecisionCase{"DeviceHeaderNamesAnotherFile", kInstalled, SystemFileBytes("usi.exe", "V1.10", "BUILD1"),
                     SystemFileOutcome::Copied},
        DecisionCase{"InstalledNamesAnotherFile", SystemFileBytes("usi.exe", "V9.00", "BUILD1"),
                     SystemFileBytes("mp3.exe", "V0.10", "BUILD1"), SystemFileOutcome::Kept},
        DecisionCase{"InstalledNamesAnotherFileAndDeviceLacksIt", SystemFileBytes("usi.exe", "V9.00", "BUILD1"),
                     std::nullopt, SystemFileOutcome::Kept},
        DecisionCase{"InstalledHeaderShort", std::string(63, 'x'), SystemFileBytes("mp3.exe", "V0.10", "BUILD1"),
                     SystemFileOutcome::Kept}),
    [](const ::testing::TestParamInfo<DecisionCase>& info) { return std::string(info.param.label); });

}  // namespace
