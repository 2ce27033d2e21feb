#include "trayhost/detection/devicedetector.h"
#include "trayhost/detection/deviceidentity.h"

#include "testsupport/scripteduserinterface.h"
#include "trayhost/detection/tests/fakedetectionplatform.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace trayhost {
namespace {

// Table cases print as their names, which keeps the test list readable.
template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& testCase, std::ostream* out)
{
    *out << testCase.name;
}

using testsupport::FakeDetectionPlatform;
using DeviceMap = std::vector<std::pair<char, uint8_t>>;

RegisteredInstance Instance(std::string_view description, std::string letter)
{
    return {std::string(description), std::move(letter)};
}

std::string ConflictText(char letter)
{
    return std::string("WARNING:  A Kova MP3/Personal Jukebox device conflict has been detected for drive letter '") +
           letter + ":'.  Please select the type of the device currently connected to the system:";
}

// The registry path (Windows Me): every removable drive is looked up in a map built from one scan
// of the registry's SCSI enumeration per detection run.
class RegistryLookupTest : public testing::Test {
protected:
    RegistryLookupTest()
    {
        platform_.version = WindowsVersion{kPlatformWin32Windows, 4, 90};
        detector_.SetUserInterface(&userInterface_);
        for (char letter = 'C'; letter <= 'Z'; ++letter) platform_.AddDrive(letter, "", "");
    }

    void Register(std::vector<RegisteredInstance> instances) { platform_.registry->push_back({std::move(instances)}); }

    DeviceMap Detect()
    {
        count_ = detector_.EnumDevices(nullptr, 0);
        DeviceMap devices;
        for (const RegistryDeviceEntry& entry : detector_.registryMap().Entries()) {
            devices.emplace_back(entry.letter, entry.model);
        }
        return devices;
    }

    FakeDetectionPlatform platform_;
    testsupport::ScriptedUserInterface userInterface_;
    std::ostringstream trace_;
    DeviceDetector detector_{platform_, trace_};
    int32_t count_ = 0;
};

TEST_F(RegistryLookupTest, ReportsRegisteredDevicesAtTheirLetters)
{
    Register({Instance(kDeviceDescPj, "G"), Instance("Generic Flash Disk", "H")});
    Register({Instance("corvane kova hd storage ", "E")});

    EXPECT_EQ(Detect(), (DeviceMap{{'G', kModelPj}, {'E', kModelHd}}));
    EXPECT_EQ(count_, 2);
    EXPECT_EQ(platform_.registryReads, 1);
    EXPECT_TRUE(platform_.inquiries.empty());
}

TEST_F(RegistryLookupTest, ReportsASmallRegistryLetterAsTheCapital)
{
    Register({Instance(kDeviceDescHd, "e")});

    EXPECT_EQ(Detect(), (DeviceMap{{'E', kModelHd}}));
    EXPECT_EQ(count_, 1);
    EXPECT_EQ(platform_.accessibilityChecks, std::vector<std::string>{"e:\\"});
}

TEST_F(RegistryLookupTest, SkipsInstancesThatAreNotDevicesOrHaveNoLetter)
{
    Register({Instance("Corvane Kova HD Storage", "E"),  // no trailing space
              RegisteredInstance{std::nullopt, "F"}, RegisteredInstance{std::string(kDeviceDescHd), std::nullopt},
              Instance(kDeviceDescHd, "")});

    EXPECT_EQ(Detect(), DeviceMap{});
    EXPECT_TRUE(platform_.accessibilityChecks.empty());
}

TEST_F(RegistryLookupTest, DoesNotAddADriveThatIsNotAccessible)
{
    platform_.inaccessibleRoots.insert("G:\\");
    Register({Instance(kDeviceDescPj, "G"), Instance(kDeviceDescHd, "H")});

    EXPECT_EQ(Detect(), (DeviceMap{{'H', kModelHd}}));
}

TEST_F(RegistryLookupTest, SameLetterAndModelTwiceAsksNothing)
{
    Register({Instance(kDeviceDescHd, "F")});
    Register({Instance(kDeviceDescHd, "F")});

    EXPECT_EQ(Detect(), (DeviceMap{{'F', kModelHd}}));
    EXPECT_TRUE(userInterface_.deviceConflicts().empty());
}

TEST_F(RegistryLookupTest, ConflictAnsweredWithThePersonalJukeboxStoresThatModel)
{
    Register({Instance(kDeviceDescHd, "F")});
    Register({Instance(kDeviceDescPj, "f")});
    userInterface_.ScriptDeviceConflictAnswer({kIdOk, kModelPj});

    EXPECT_EQ(Detect(), (DeviceMap{{'F', kModelPj}}));
    ASSERT_EQ(userInterface_.deviceConflicts().size(), 1u);
    EXPECT_EQ(userInterface_.deviceConflicts()[0].driveLetter, 'F');
    EXPECT_EQ(userInterface_.deviceConflicts()[0].text, ConflictText('F'));
}

TEST_F(RegistryLookupTest, ConflictAnsweredWithTheModelAlreadyStoredKeepsIt)
{
    Register({Instance(kDeviceDescHd, "F"), Instance(kDeviceDescPj, "F")});
    userInterface_.ScriptDeviceConflictAnswer({kIdOk, kModelHd});

    EXPECT_EQ(Detect(), (DeviceMap{{'F', kModelHd}}));
}

TEST_F(RegistryLookupTest, ConflictCancelledDiscardsEverythingFoundSoFar)
{
    Register({Instance(kDeviceDescPj, "E"), Instance(kDeviceDescHd, "F")});
    Register({Instance(kDeviceDescPj, "F"), Instance(kDeviceDescHd, "G")});
    userInterface_.ScriptDeviceConflictAnswer({kIdCancel, kModelPj});

    EXPECT_EQ(Detect(), (DeviceMap{{'G', kModelHd}}));
    EXPECT_EQ(count_, 1);
}

TEST_F(RegistryLookupTest, ALaterInstanceReAddsACancelledLetter)
{
    Register({Instance(kDeviceDescHd, "F"), Instance(kDeviceDescPj, "F"), Instance(kDeviceDescPj, "F")});
    userInterface_.ScriptDeviceConflictAnswer({kIdCancel, kModelHd});

    EXPECT_EQ(Detect(), (DeviceMap{{'F', kModelPj}}));
    EXPECT_EQ(userInterface_.deviceConflicts().size(), 1u);
}

struct UnusableAnswer {
    const char* name;
    DeviceConflictAnswer answer;
};

class UnusableConflictAnswerTest : public RegistryLookupTest, public testing::WithParamInterface<UnusableAnswer> {};

TEST_P(UnusableConflictAnswerTest, LeavesTheFirstModel)
{
    Register({Instance(kDeviceDescHd, "F"), Instance(kDeviceDescPj, "F")});
    userInterface_.ScriptDeviceConflictAnswer(GetParam().answer);

    EXPECT_EQ(Detect(), (DeviceMap{{'F', kModelHd}}));
}

INSTANTIATE_TEST_SUITE_P(Answers, UnusableConflictAnswerTest,
                         testing::Values(UnusableAnswer{"OkWithoutModel", {kIdOk, kModelNone}},
                                         UnusableAnswer{"OkWithUnknownModel", {kIdOk, 7}},
                                         UnusableAnswer{"OtherCommand", {kIdAbort, kModelPj}},
                                         UnusableAnswer{"DialogFailed", {-1, kModelPj}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryLookupTest, WithoutAUserInterfaceAConflictKeepsTheFirstModel)
{
    detector_.SetUserInterface(nullptr);
    Register({Instance(kDeviceDescPj, "F"), Instance(kDeviceDescHd, "F")});

    EXPECT_EQ(Detect(), (DeviceMap{{'F', kModelPj}}));
}

TEST_F(RegistryLookupTest, AFailedScanIsRetriedAtTheNextDrive)
{
    platform_.removableDrives.clear();
    platform_.AddDrive('E', "", "");
    platform_.AddDrive('F', "", "");
    platform_.failingRegistryReads = 1;
    Register({Instance(kDeviceDescHd, "E"), Instance(kDeviceDescPj, "F")});

    EXPECT_EQ(Detect(), (DeviceMap{{'E', kModelHd}, {'F', kModelPj}}));
    EXPECT_EQ(count_, 1);  // E: was looked up while the registry could not be read
    EXPECT_EQ(platform_.registryReads, 2);
}

TEST_F(RegistryLookupTest, EveryRunScansAgainFromAnEmptyMap)
{
    Register({Instance(kDeviceDescHd, "E")});
    EXPECT_EQ(Detect(), (DeviceMap{{'E', kModelHd}}));

    platform_.registry->clear();
    EXPECT_EQ(Detect(), DeviceMap{});
    EXPECT_EQ(platform_.registryReads, 2);
}

TEST_F(RegistryLookupTest, AMissingEnumerationFindsNothingAndIsReadOnce)
{
    platform_.registry->clear();

    EXPECT_EQ(Detect(), DeviceMap{});
    EXPECT_EQ(platform_.registryReads, 1);
}

TEST_F(RegistryLookupTest, TheMapStopsAtTwentySixEntries)
{
    std::vector<RegisteredInstance> first;
    for (char letter : std::string("CDEFGHIJKLMNOPQRSTUVWXYZ")) first.push_back(Instance(kDeviceDescHd, {letter}));
    first.push_back(Instance(kDeviceDescHd, "1"));
    first.push_back(Instance(kDeviceDescHd, "2"));
    first.push_back(Instance(kDeviceDescHd, "3"));
    Register(std::move(first));
    Register({Instance(kDeviceDescHd, "4")});

    EXPECT_EQ(Detect().size(), RegistryDeviceMap::kCapacity);
    EXPECT_EQ(count_, 24);
    EXPECT_EQ(platform_.accessibilityChecks.size(), 27u);  // the rest of the full device key is not read
}

}  // namespace
}  // namespace trayhost
