#include "engine/wma/asfheader.h"

#include "engine/wma/tests/wmatestfiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The header object of a committed file, with the little-endian value at offset replaced.
std::string HeaderOf(const std::string& name)
{
    const std::string bytes = testsupport::WmaTestFile(name);
    uint64_t size = 0;
    for (int i = 7; i >= 0; --i) size = (size << 8) | static_cast<uint8_t>(bytes[16 + i]);
    return bytes.substr(0, static_cast<std::size_t>(size));
}

struct CountCase {
    const char* file;
    bool fits;
};

class AsfAttributeCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(AsfAttributeCountTest, CountsAreCheckedAgainstTheBytesOfTheirObject)
{
    EXPECT_EQ(engine::AsfAttributeCountsFit(HeaderOf(GetParam().file)), GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(CommittedFiles, AsfAttributeCountTest,
                         ::testing::Values(CountCase{"all_attributes.wma", true}, CountCase{"track_word.wma", true},
                                           CountCase{"title_200_nonascii.wma", true},
                                           CountCase{"attribute_count_past_end.wma", false}),
                         [](const ::testing::TestParamInfo<CountCase>& info) {
                             const std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

TEST(AsfHeaderObjectTest, OnlyTheHeaderObjectIsReadAndNeverPastTheFile)
{
    testsupport::TemporaryDevice device;
    const std::string file = testsupport::WmaTestFile("all_attributes.wma");
    device.WriteFile("a.wma", file);
    platform::File whole = platform::File::Open("E:\\a.wma", platform::File::Mode::Read);
    EXPECT_EQ(engine::ReadAsfHeaderObject(whole), HeaderOf("all_attributes.wma"));

    device.WriteFile("cut.wma", file.substr(0, 200));
    platform::File cut = platform::File::Open("E:\\cut.wma", platform::File::Mode::Read);
    EXPECT_EQ(engine::ReadAsfHeaderObject(cut), file.substr(0, 200));

    device.WriteFile("other.wma", std::string(100, 'x'));
    platform::File other = platform::File::Open("E:\\other.wma", platform::File::Mode::Read);
    EXPECT_FALSE(engine::ReadAsfHeaderObject(other).has_value());
}

}  // namespace
