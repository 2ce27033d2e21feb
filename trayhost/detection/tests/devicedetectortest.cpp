#include "trayhost/detection/devicedetector.h"

#include "trayhost/detection/tests/fakedetectionplatform.h"
#include "trayhost/detection/tests/reportrecorder.h"

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

using testsupport::DeviceReport;
using testsupport::FakeDetectionPlatform;
using testsupport::ReportRecorder;
using Reports = std::vector<DeviceReport>;

class DeviceDetectorTest : public testing::Test {
protected:
    int32_t Enumerate(int32_t userData = 77) { return detector_.EnumDevices(ReportRecorder::Callback, userData); }

    FakeDetectionPlatform platform_;
    std::ostringstream trace_;
    DeviceDetector detector_{platform_, trace_};
    ReportRecorder recorder_;
    Reports& reported_ = recorder_.reports;
};

TEST_F(DeviceDetectorTest, ReportsDevicesInAscendingLetterOrderWithTheUserData)
{
    platform_.AddDrive('G', "Corvane ", "Kova PJ Storage ");
    platform_.AddDrive('D', "Generic ", "Flash Disk      ");
    platform_.AddDrive('E', "Corvane ", "Kova HD Storage ");

    EXPECT_EQ(Enumerate(-5), 2);
    EXPECT_EQ(reported_, (Reports{{'E', kModelHd, -5}, {'G', kModelPj, -5}}));
    EXPECT_EQ(platform_.refreshes, 1);
}

TEST_F(DeviceDetectorTest, NeverExaminesDrivesAAndB)
{
    platform_.AddDrive('A', "Corvane ", "Kova PJ Storage ");
    platform_.AddDrive('B', "Corvane ", "Kova HD Storage ");
    platform_.AddDrive('C', "Corvane ", "Kova HD Storage ");

    EXPECT_EQ(Enumerate(), 1);
    EXPECT_EQ(platform_.inquiries, std::vector<char>{'C'});
}

TEST_F(DeviceDetectorTest, CountsDevicesWithoutACallback)
{
    platform_.AddDrive('E', "Corvane ", "Kova HD Storage ");
    platform_.AddDrive('Z', "Corvane ", "Kova PJ Storage ");

    EXPECT_EQ(detector_.EnumDevices(nullptr, 0), 2);
}

TEST_F(DeviceDetectorTest, StorageQueryFailuresYieldNoDeviceAndTheWalkGoesOn)
{
    platform_.removableDrives['E'] = {InquiryStatus::CannotOpen, 0, "Corvane ", "Kova HD Storage "};
    platform_.removableDrives['F'] = {InquiryStatus::CallFailed, 31, "Corvane ", "Kova HD Storage "};
    platform_.AddDrive('G', "Corvane ", "Kova HD Storage ");

    EXPECT_EQ(Enumerate(), 1);
    EXPECT_EQ(reported_, (Reports{{'G', kModelHd, 77}}));
    EXPECT_EQ(trace_.str(), "");
}

struct UnsupportedSystem {
    const char* name;
    std::optional<WindowsVersion> version;
};

class UnsupportedSystemTest : public DeviceDetectorTest, public testing::WithParamInterface<UnsupportedSystem> {};

TEST_P(UnsupportedSystemTest, FindsNothingAndNeverCallsBack)
{
    platform_.version = GetParam().version;
    platform_.AddDrive('E', "Corvane ", "Kova HD Storage ");

    EXPECT_EQ(Enumerate(), 0);
    EXPECT_TRUE(reported_.empty());
    EXPECT_TRUE(platform_.inquiries.empty());
    EXPECT_EQ(platform_.registryReads, 0);
}

INSTANTIATE_TEST_SUITE_P(Systems, UnsupportedSystemTest,
                         testing::Values(UnsupportedSystem{"Windows95", WindowsVersion{kPlatformWin32Windows, 4, 0}},
                                         UnsupportedSystem{"Nt4", WindowsVersion{kPlatformWin32Nt, 4, 0}},
                                         UnsupportedSystem{"VersionQueryFails", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

struct InquiryCase {
    const char* name;
    std::string vendor;
    std::string product;
    uint8_t model;
};

class InquiryIdentityTest : public DeviceDetectorTest, public testing::WithParamInterface<InquiryCase> {
protected:
    static Reports ExpectedReports(uint8_t model)
    {
        if (model == kModelNone) return {};
        return {{'E', model, 77}};
    }
};

TEST_P(InquiryIdentityTest, StorageQueryPathFindsTheModel)
{
    platform_.AddDrive('E', GetParam().vendor, GetParam().product);
    const Reports expected = ExpectedReports(GetParam().model);
    Enumerate();
    EXPECT_EQ(reported_, expected);
}

TEST_P(InquiryIdentityTest, ControlChannelPathFindsTheSameModel)
{
    platform_.version = WindowsVersion{kPlatformWin32Windows, 4, 10};
    platform_.AddDrive('E', GetParam().vendor, GetParam().product);
    const Reports expected = ExpectedReports(GetParam().model);
    Enumerate();
    EXPECT_EQ(reported_, expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Identities, InquiryIdentityTest,
    testing::Values(InquiryCase{"Hd", "Corvane ", "Kova HD Storage ", kModelHd},
                    InquiryCase{"Pj", "Corvane ", "Kova PJ Storage ", kModelPj},
                    InquiryCase{"CapitalVendorSmallProduct", "CORVANE ", "kova pj storage ", kModelPj},
                    InquiryCase{"VendorWithoutTrailingSpace", "Corvane", "Kova PJ Storage ", kModelNone},
                    InquiryCase{"ProductWithoutTrailingSpace", "Corvane ", "Kova PJ Storage", kModelNone},
                    InquiryCase{"OtherProductOfTheVendor", "Corvane ", "Kova XX Storage ", kModelNone},
                    InquiryCase{"OtherVendor", "Vantor  ", "Kova HD Storage ", kModelNone},
                    InquiryCase{"VendorCutShortByNul", "Corv\0ne "s, "Kova HD Storage ", kModelNone},
                    InquiryCase{"VendorEndingInNul", "Corvane\0"s, "Kova HD Storage ", kModelNone},
                    InquiryCase{"NoVendor", "", "Kova HD Storage ", kModelNone},
                    InquiryCase{"FieldsLongerThanTheirWidth", "Corvane xyz", "Kova HD Storage 1.00", kModelHd}),
    [](const auto& info) { return std::string(info.param.name); });

struct ControlChannelCase {
    const char* name;
    InquiryReply reply;
    uint8_t model;
    std::string trace;
};

class ControlChannelTraceTest : public DeviceDetectorTest, public testing::WithParamInterface<ControlChannelCase> {};

TEST_P(ControlChannelTraceTest, TracesEachStepAndFindsTheModel)
{
    platform_.version = WindowsVersion{kPlatformWin32Windows, 4, 10};
    platform_.removableDrives['E'] = GetParam().reply;

    EXPECT_EQ(Enumerate(), GetParam().model == kModelNone ? 0 : 1);
    EXPECT_EQ(trace_.str(), GetParam().trace);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ControlChannelTraceTest,
    testing::Values(
        ControlChannelCase{"Answered",
                           {InquiryStatus::Answered, 0, "Corvane ", "Kova PJ Storage "},
                           kModelPj,
                           "Starting Inquiry \nSucceeded at executing vxd ioctl\nInquiry Finished Successfully \n"},
        ControlChannelCase{"CannotOpen",
                           {InquiryStatus::CannotOpen, 0, "Corvane ", "Kova PJ Storage "},
                           kModelNone,
                           "Starting Inquiry \nError executing vxd ioctl\n"},
        ControlChannelCase{"CallFailed",
                           {InquiryStatus::CallFailed, 31, "Corvane ", "Kova PJ Storage "},
                           kModelNone,
                           "Starting Inquiry \nGetLastError() = 31\nError executing vxd ioctl\n"},
        ControlChannelCase{"NotCompleted",
                           {InquiryStatus::NotCompleted, 0, "Corvane ", "Kova PJ Storage "},
                           kModelNone,
                           "Starting Inquiry \nSucceeded at executing vxd ioctl\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct KindCase {
    const char* name;
    std::optional<WindowsVersion> version;
    OperatingSystemKind kind;
};

class OperatingSystemKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(OperatingSystemKindTest, FollowsTheVersionTable)
{
    EXPECT_EQ(KindOfOperatingSystem(GetParam().version), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OperatingSystemKindTest,
    testing::Values(KindCase{"QueryFailed", std::nullopt, OperatingSystemKind::VersionQueryFailed},
                    KindCase{"Windows95", WindowsVersion{1, 4, 0}, OperatingSystemKind::Unsupported},
                    KindCase{"Windows98", WindowsVersion{1, 4, 10}, OperatingSystemKind::Windows98},
                    KindCase{"WindowsMe", WindowsVersion{1, 4, 90}, OperatingSystemKind::WindowsMe},
                    KindCase{"Nt4", WindowsVersion{2, 4, 0}, OperatingSystemKind::Unsupported},
                    KindCase{"Windows2000", WindowsVersion{2, 5, 0}, OperatingSystemKind::NtMinor0},
                    KindCase{"WindowsXp", WindowsVersion{2, 5, 1}, OperatingSystemKind::NtMinor1},
                    KindCase{"Server2003", WindowsVersion{2, 5, 2}, OperatingSystemKind::Unsupported},
                    KindCase{"Vista", WindowsVersion{2, 6, 0}, OperatingSystemKind::NtMinor0},
                    KindCase{"Windows7", WindowsVersion{2, 6, 1}, OperatingSystemKind::NtMinor1},
                    KindCase{"Win32s", WindowsVersion{0, 5, 1}, OperatingSystemKind::Unsupported}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trayhost
