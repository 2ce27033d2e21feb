#include "trayhost/syncui/pathvalidation.h"

#include "testsupport/devicetree.h"
#include "testsupport/scripteduserinterface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trayhost {
namespace {

constexpr uint32_t kWarning = kMbOk | kMbIconExclamation;
constexpr uint32_t kQuestion = kMbYesNo | kMbIconExclamation;

struct Shown {
    std::string title;
    std::string text;
    uint32_t style = kWarning;

    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out)
{
    *out << shown.title << ": " << shown.text;
}

struct PairCase {
    const char* name;
    char letter;
    SyncOption option;
    std::string pcPath;
    std::string devicePath;
    std::vector<int32_t> answers;
    bool accepted;
    PathField focus;
    std::vector<Shown> shown;
};

class PathRulesTest : public testing::Test {
protected:
    void SetUp() override
    {
        pc_.MakeFolder("Music");
        pc_.MakeFolder("R.E.M.");
        pc_.WriteFile("a/x.mp3", "x");
        device_.MakeFolder("Music");
        device_.MakeFolder("Vol. 1");
        device_.WriteFile("b/X.MP3", "x");
        device_.WriteFile("file", "x");
    }

    std::vector<Shown> ShownMessages() const
    {
        std::vector<Shown> shown;
        for (const auto& box : ui_.messageBoxes()) shown.push_back({box.title, box.text, box.style});
        return shown;
    }

    testsupport::TemporaryDevice pc_{'C'};
    testsupport::TemporaryDevice device_{'E'};
    testsupport::ScriptedUserInterface ui_;
};

class PathValidationTest : public PathRulesTest, public testing::WithParamInterface<PairCase> {};

TEST_P(PathValidationTest, AcceptsOrRefusesWithItsMessage)
{
    const PairCase& c = GetParam();
    for (int32_t answer : c.answers) ui_.ScriptMessageBoxAnswer(answer);
    const PathValidation result = ValidateSyncPaths(ui_, nullptr, c.letter, c.option, c.pcPath, c.devicePath);
    EXPECT_EQ(result.accepted, c.accepted);
    EXPECT_EQ(result.focus, c.focus);
    EXPECT_EQ(ShownMessages(), c.shown);
}

const Shown kSamePaths{"Invalid Paths",
                       "The PC and Device paths specified can not be the same value.  Please specify a different value."};
const Shown kNoDeviceDrive{"Invalid Device Path",
                           "Invalid device path specified.  Must include the drive letter of the selected device."};
const Shown kNoPcDrive{"Invalid PC Path", "Invalid PC path.  Must specify a valid drive."};
const Shown kDifferentTypes{"Path Conflict",
                            "The PC and Device paths specified are of different type.  Both paths must either be folders "
                            "or files.  Please specify a new path."};
const Shown kNeitherExists{"Invalid Sync Paths",
                           "The 'Synchronize PC and Device' option has been selected.  At least one of the specified paths "
                           "must exist in order to perform the synchronization."};
const Shown kDifferentNames{"Invalid Sync Paths",
                            "The 'Synchronize PC and Device' option has been selected.  You must specify the same filename "
                            "for the PC and Device paths to be synchronized."};
const Shown kPcMissing{"Invalid PC Path", "The PC path specified does not exist.  Please specify a different path."};
const Shown kCreatePc{"Create Folder Path", "The PC folder path specified does not exist.  Do you want to create it?",
                      kQuestion};
const Shown kCreateDevice{"Create Folder", "The Device path specified does not exist.  Do you want to create it?",
                          kQuestion};
const Shown kDeviceMissing{"Invalid Device Path",
                           "The Device path specified does not exist.  Please specify a different path."};
const Shown kCreationFailed{"Folder Creation Error",
                            "The following error occurred while attempting to create the specified folder:\n"
                            "The system cannot find the path specified."};

constexpr auto kBoth = SyncOption::SyncBoth;
constexpr auto kToDevice = SyncOption::PcToDevice;
constexpr auto kToPc = SyncOption::DeviceToPc;
constexpr auto kNone = PathField::None;
constexpr auto kPc = PathField::PcPath;
constexpr auto kDevice = PathField::DevicePath;

INSTANTIATE_TEST_SUITE_P(
    Rules, PathValidationTest,
    testing::Values(
        PairCase{"both_there", 'E', kToDevice, "C:\\Music", "E:\\Music", {}, true, kNone, {}},
        PairCase{"same_paths", 'E', kToDevice, "E:\\Music", "e:\\MUSIC", {}, false, kPc, {kSamePaths}},
        PairCase{"device_path_without_drive", 'E', kToDevice, "C:\\Music", "Music", {}, false, kDevice, {kNoDeviceDrive}},
        PairCase{"pc_path_without_drive", 'E', kToDevice, "Music", "E:\\Music", {}, false, kPc, {kNoPcDrive}},
        PairCase{"network_pc_path", 0, SyncOption::Invalid, "\\\\server\\share", "", {}, true, kNone, {}},
        PairCase{"folder_and_file", 'E', kBoth, "C:\\Music", "E:\\b\\X.MP3", {}, false, kPc, {kDifferentTypes}},
        PairCase{"same_file_name", 'E', kBoth, "C:\\a\\x.mp3", "E:\\b\\X.MP3", {}, true, kNone, {}},
        PairCase{"other_file_name", 'E', kBoth, "C:\\a\\x.mp3", "E:\\b\\y.mp3", {}, false, kPc, {kDifferentNames}},
        PairCase{"dotted_pc_folder_and_its_missing_device_folder", 'E', kToDevice, "C:\\R.E.M.", "E:\\R.E.M.",
                 {kIdYes}, true, kNone, {kCreateDevice}},
        PairCase{"dotted_device_folder_and_its_missing_pc_folder", 'E', kToPc, "C:\\Vol. 1", "E:\\Vol. 1", {kIdYes},
                 true, kNone, {kCreatePc}},
        PairCase{"dotted_folder_both_ways", 'E', kBoth, "C:\\Vol. 1", "E:\\Vol. 1", {}, true, kNone, {}},
        PairCase{"neither_exists", 'E', kBoth, "C:\\Gone", "E:\\Gone", {}, false, kPc, {kNeitherExists}},
        PairCase{"pc_missing", 'E', kToDevice, "C:\\Gone", "E:\\Music", {}, false, kPc, {kPcMissing}},
        PairCase{"pc_folder_created", 'E', kToPc, "C:\\New\\Sub", "E:\\Music", {kIdYes}, true, kNone, {kCreatePc}},
        PairCase{"pc_folder_declined", 'E', kToPc, "C:\\New\\Sub", "E:\\Music", {kIdNo}, false, kPc, {kCreatePc}},
        PairCase{"device_folder_created", 'E', kToDevice, "C:\\a\\x.mp3", "E:\\New\\a.mp3", {kIdYes}, true, kNone,
                 {kCreateDevice}},
        PairCase{"device_folder_blocked", 'E', kToDevice, "C:\\Music", "E:\\file\\Sub", {kIdYes}, false, kDevice,
                 {kCreateDevice, kCreationFailed}},
        PairCase{"device_missing", 'E', kToPc, "C:\\Music", "E:\\Gone", {}, false, kDevice, {kDeviceMissing}},
        PairCase{"root_on_the_same_drive", 'E', kToDevice, "E:\\Music", "E:\\", {}, false, kNone, {}},
        PairCase{"root_of_another_drive", 'E', kToDevice, "C:\\Music", "E:\\", {}, true, kNone, {}},
        PairCase{"no_device_pc_folder", 0, kBoth, "C:\\Music", "", {}, true, kNone, {}},
        PairCase{"no_device_pc_file", 0, kBoth, "C:\\a\\x.mp3", "", {}, false, kPc, {kDifferentNames}},
        PairCase{"no_option", 'E', SyncOption::Invalid, "C:\\Gone", "E:\\Gone", {}, true, kNone, {}}),
    [](const testing::TestParamInfo<PairCase>& info) { return std::string(info.param.name); });

struct EntryCase {
    const char* name;
    char letter;
    std::string pcPath;
    std::string devicePath;
    bool accepted;
    PathField focus;
    std::vector<Shown> shown;
    std::string storedDevicePath;
};

class PathEditorEntryTest : public PathRulesTest, public testing::WithParamInterface<EntryCase> {};

TEST_P(PathEditorEntryTest, ChecksWhatWasTyped)
{
    const EntryCase& c = GetParam();
    std::string pcPath = c.pcPath;
    std::string devicePath = c.devicePath;
    const PathValidation result = AcceptPathEditorEntry(ui_, nullptr, c.letter, kToDevice, pcPath, devicePath);
    EXPECT_EQ(result.accepted, c.accepted);
    EXPECT_EQ(result.focus, c.focus);
    EXPECT_EQ(ShownMessages(), c.shown);
    EXPECT_EQ(devicePath, c.storedDevicePath);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, PathEditorEntryTest,
    testing::Values(
        EntryCase{"no_pc_path", 'E', "", "E:\\Music", false, kPc, {{"Invalid PC Path", "Must specify a valid PC path."}},
                  "E:\\Music"},
        EntryCase{"no_device_path", 'E', "C:\\Music", "", false, kDevice,
                  {{"Invalid Device Path", "Must specify a valid path on the Device."}}, ""},
        EntryCase{"other_drive", 'E', "C:\\Music", "F:\\Music", false, kDevice,
                  {{"Invalid Device Path", "Invalid Device path specified.  The path must be on the same drive as the "
                                           "selected Kova Jukebox device (E)."}},
                  "F:\\Music"},
        EntryCase{"lower_case_letter_kept", 'E', "C:\\Music", "e:\\Music", true, kNone, {}, "e:\\Music"},
        EntryCase{"spaces_around", 'E', "  C:\\Music ", " E:\\Music  ", true, kNone, {}, "E:\\Music"},
        EntryCase{"no_device_no_device_path", 0, "C:\\Music", "", true, kNone, {}, ""}),
    [](const testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trayhost
