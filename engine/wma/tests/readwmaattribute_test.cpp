#include "engine/wma/wmaattributereader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <cstring>
#include <string>
#include <vector>

namespace {

using engine::AttributeDataType;
using engine::HResult;

std::vector<uint8_t> WideBytes(std::u16string_view text)
{
    std::vector<uint8_t> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<uint8_t> LittleEndian(uint64_t value, int width)
{
    std::vector<uint8_t> bytes;
    for (int index = 0; index < width; ++index) bytes.push_back(static_cast<uint8_t>(value >> (8 * index)));
    return bytes;
}

// A header holding one attribute "Name" at the file level; it keeps the sizes of the buffers it is
// offered and can be told to fail either call.
class OneAttributeHeader : public engine::HeaderInfo {
public:
    OneAttributeHeader(AttributeDataType type, std::vector<uint8_t> value) : type_(type), value_(std::move(value)) {}

    HResult GetAttributeByName(uint16_t streamNumber, const char16_t* name, AttributeDataType* type, uint8_t* value,
                               uint32_t* length) override
    {
        if (value) offeredLengths.push_back(*length);
        if (!value && firstCallFailure != engine::kSOk) return firstCallFailure;
        if (value && secondCallFailure != engine::kSOk) return secondCallFailure;
        if (streamNumber != engine::kFileLevelStream || std::u16string_view(name) != u"Name") {
            *length = 0;
            return engine::kAsfENotFound;
        }
        *type = type_;
        const uint32_t room = *length;
        *length = static_cast<uint32_t>(value_.size());
        if (!value) return engine::kSOk;
        if (value_.size() > room) return engine::kAsfEBufferTooSmall;
        std::memcpy(value, value_.data(), value_.size());
        return engine::kSOk;
    }

    HResult firstCallFailure = engine::kSOk;
    HResult secondCallFailure = engine::kSOk;
    std::vector<uint32_t> offeredLengths;

private:
    AttributeDataType type_;
    std::vector<uint8_t> value_;
};

struct ValueCase {
    const char* label;
    AttributeDataType type;
    std::vector<uint8_t> value;
    std::string text;  // "previous" when the field keeps its text
};

void PrintTo(const ValueCase& value, std::ostream* out)
{
    *out << value.label;
}

class AttributeValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(AttributeValueTest, BecomesTextByItsType)
{
    const ValueCase& valueCase = GetParam();
    OneAttributeHeader header(valueCase.type, valueCase.value);
    char text[engine::kTextFieldSize] = "previous";
    bool found = false;

    EXPECT_EQ(engine::ReadWmaAttribute(header, u"Name", text, found), engine::kSOk);

    EXPECT_TRUE(found);
    EXPECT_EQ(engine::TextOf(text), valueCase.text);
}

INSTANTIATE_TEST_SUITE_P(
    Types, AttributeValueTest,
    ::testing::Values(
        ValueCase{"DwordUnsigned", AttributeDataType::Dword, LittleEndian(4294967295u, 4), "4294967295"},
        ValueCase{"Word", AttributeDataType::Word, LittleEndian(65535, 2), "65535"},
        ValueCase{"String", AttributeDataType::String, WideBytes(std::u16string(u"Jazz") + u'\0'), "Jazz"},
        ValueCase{"StringInCodePage", AttributeDataType::String, WideBytes(std::u16string(u"Caf\u00e9") + u'\0'),
                  "Caf\xe9"},
        ValueCase{"StringToItsFirstZero", AttributeDataType::String, WideBytes(std::u16string(u"A\0B", 3)), "A"},
        ValueCase{"StringWithoutTerminator", AttributeDataType::String, {'O', 0, 'K', 0, '!'}, "OK"},
        ValueCase{"ShortDword", AttributeDataType::Dword, {1, 2}, "previous"},
        ValueCase{"Bool", AttributeDataType::Bool, LittleEndian(1, 4), "previous"},
        ValueCase{"Qword", AttributeDataType::Qword, LittleEndian(7, 8), "previous"},
        ValueCase{"Binary", AttributeDataType::Binary, {1, 2, 3}, "previous"},
        ValueCase{"Guid", AttributeDataType::Guid, std::vector<uint8_t>(16, 0xAB), "previous"}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.label); });

class ReadWmaAttributeTest : public ::testing::Test {
protected:
    HResult Read(OneAttributeHeader& header, const char16_t* name = u"Name")
    {
        ::testing::internal::CaptureStdout();
        const HResult result = engine::ReadWmaAttribute(header, name, text_, found_);
        output_ = ::testing::internal::GetCapturedStdout();
        return result;
    }

    char text_[engine::kTextFieldSize] = "previous";
    bool found_ = true;
    std::string output_;
};

TEST_F(ReadWmaAttributeTest, AnAbsentAttributeIsNotFoundWithoutASecondCall)
{
    OneAttributeHeader header(AttributeDataType::String, WideBytes(u"x"));

    EXPECT_EQ(Read(header, u"Other"), engine::kSOk);

    EXPECT_FALSE(found_);
    EXPECT_EQ(engine::TextOf(text_), "previous");
    EXPECT_TRUE(header.offeredLengths.empty());
    EXPECT_EQ(output_, "");
}

TEST_F(ReadWmaAttributeTest, AFailingFirstCallIsReportedAndReturned)
{
    OneAttributeHeader header(AttributeDataType::String, WideBytes(u"x"));
    header.firstCallFailure = engine::kEUnexpected;

    EXPECT_EQ(Read(header), engine::kEUnexpected);

    EXPECT_FALSE(found_);
    EXPECT_EQ(engine::TextOf(text_), "previous");
    EXPECT_EQ(output_, "GetAttributeByName failed for Attribute name Name (hr=0x8000ffff).\n");
}

TEST_F(ReadWmaAttributeTest, AFailingSecondCallIsReportedAndReturned)
{
    OneAttributeHeader header(AttributeDataType::String, WideBytes(u"x"));
    header.secondCallFailure = engine::kEOutOfMemory;

    EXPECT_EQ(Read(header), engine::kEOutOfMemory);

    EXPECT_FALSE(found_);
    EXPECT_EQ(engine::TextOf(text_), "previous");
    EXPECT_EQ(output_, "GetAttributeByName failed for Attribute name Name (hr=0x8007000e).\n");
}

TEST_F(ReadWmaAttributeTest, TheBufferOfferedIsTheValueLengthUpTo256Bytes)
{
    OneAttributeHeader shortValue(AttributeDataType::String, WideBytes(std::u16string(u"ab") + u'\0'));
    Read(shortValue);
    EXPECT_EQ(shortValue.offeredLengths, std::vector<uint32_t>{6});

    OneAttributeHeader longValue(AttributeDataType::String, WideBytes(std::u16string(1000, u'a') + u'\0'));
    engine::SetText(text_, "previous");
    EXPECT_EQ(Read(longValue), engine::kAsfEBufferTooSmall);
    EXPECT_EQ(longValue.offeredLengths, std::vector<uint32_t>{256});
    EXPECT_FALSE(found_);
    EXPECT_EQ(engine::TextOf(text_), "previous");
}

TEST_F(ReadWmaAttributeTest, AStringFillingTheWholeBufferIsRead)
{
    OneAttributeHeader header(AttributeDataType::String, WideBytes(std::u16string(127, u'a') + u'\0'));

    EXPECT_EQ(Read(header), engine::kSOk);

    EXPECT_TRUE(found_);
    EXPECT_EQ(engine::TextOf(text_), std::string(127, 'a'));
}

}  // namespace
