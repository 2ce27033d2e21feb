#include "engine/update/helpfileheader.h"
#include "engine/update/systemfileheader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

struct VersionCase {
    const char* text;
    float version;
};

void PrintTo(const VersionCase& version, std::ostream* out)
{
    *out << '"' << version.text << '"';
}

class VersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionTest, IsTheNumberAfterTheV)
{
    EXPECT_FLOAT_EQ(engine::VersionOf(GetParam().text), GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(VersionTexts, VersionTest,
                         ::testing::Values(VersionCase{"V1.20", 1.2f}, VersionCase{"v2", 2.0f},
                                           VersionCase{"V 1.5", 1.5f}, VersionCase{"V+1.5", 1.5f},
                                           VersionCase{"V1.2.3", 1.2f}, VersionCase{"V-1", -1.0f},
                                           VersionCase{"V", 0.0f}, VersionCase{"Vbeta", 0.0f},
                                           VersionCase{"1.20", engine::SystemFileHeader::kNoVersion},
                                           VersionCase{"", engine::SystemFileHeader::kNoVersion}));

TEST(SystemFileHeaderTest, FieldsThatFillTheirWidthAreNotTerminated)
{
    std::string bytes(64, '\0');
    bytes.replace(4, 12, "abcdefgh.exe");
    bytes.replace(16, 24, std::string(24, 'd'));
    bytes.replace(40, 8, "V1.23456");
    bytes.replace(48, 8, "IDENTITY");
    bytes.replace(56, 8, "trailing");

    const std::optional<engine::SystemFileHeader> header = engine::SystemFileHeader::Parse(Bytes(bytes));

    ASSERT_TRUE(header);
    EXPECT_EQ(header->fileName, "abcdefgh.exe");
    EXPECT_FLOAT_EQ(header->version, 1.23456f);
    EXPECT_EQ(header->identifier, "IDENTITY");
}

TEST(SystemFileHeaderTest, NeedsAll64Bytes)
{
    EXPECT_FALSE(engine::SystemFileHeader::Parse(Bytes(std::string(63, 'x'))));
}

struct HelpHeaderCase {
    const char* label;
    std::string bytes;
    bool valid;
};

void PrintTo(const HelpHeaderCase& header, std::ostream* out)
{
    *out << header.label;
}

class HelpFileHeaderTest : public ::testing::TestWithParam<HelpHeaderCase> {};

TEST_P(HelpFileHeaderTest, NeedsTheMarkerAndItsZeroBytes)
{
    EXPECT_EQ(engine::IsValidHelpFileHeader(Bytes(GetParam().bytes)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, HelpFileHeaderTest,
    ::testing::Values(HelpHeaderCase{"Valid", std::string("KOVAHDHLP\0\0\0\0\0\0\0", 16), true},
                      HelpHeaderCase{"MiddleBytesNotExamined", std::string("KOVAHDHLP\0\xff\xffxyz\0more", 20), true},
                      HelpHeaderCase{"MarkerInOtherCase", std::string("kovahdhlp\0\0\0\0\0\0\0", 16), false},
                      HelpHeaderCase{"NoZeroAfterMarker", std::string("KOVAHDHLPX\0\0\0\0\0\0", 16), false},
                      HelpHeaderCase{"NoZeroAtTheEnd", std::string("KOVAHDHLP\0\0\0\0\0\0X", 16), false},
                      HelpHeaderCase{"Short", std::string("KOVAHDHLP\0\0\0\0\0\0", 15), false}),
    [](const ::testing::TestParamInfo<HelpHeaderCase>& info) { return std::string(info.param.label); });

}  // namespace
