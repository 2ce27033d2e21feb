#include "engine/wma/metadataeditor.h"

#include "engine/wma/tests/wmatestfiles.h"
#include "testsupport/devicetree.h"

#include "platform/codepage.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

namespace {

using engine::AttributeDataType;
using engine::HResult;

class MetadataEditorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(engine::MetadataEditor::Create(&editor_), engine::kSOk); }

    HResult OpenAs(std::string_view dataFile, std::string_view deviceName = "Music/song.wma")
    {
        device_.WriteFile(deviceName, testsupport::WmaTestFile(dataFile));
        return Open(deviceName);
    }

    HResult Open(std::string_view deviceName)
    {
        const std::optional<std::u16string> wide =
            platform::CodePage::System().ToUtf16(testsupport::DevicePath(device_, deviceName));
        return editor_->Open(wide->c_str());
    }

    // The first call of the protocol: the type and the length.
    HResult Describe(const char16_t* name, uint16_t streamNumber = engine::kFileLevelStream)
    {
        length_ = 12345;
        return editor_->GetAttributeByName(streamNumber, name, &type_, nullptr, &length_);
    }

    testsupport::TemporaryDevice device_;
    std::unique_ptr<engine::MetadataEditor> editor_;
    AttributeDataType type_ = AttributeDataType::Binary;
    uint32_t length_ = 0;
};

TEST_F(MetadataEditorTest, DescribesContentDescriptionAndExtendedAttributes)
{
    ASSERT_EQ(OpenAs("all_attributes.wma"), engine::kSOk);

    ASSERT_EQ(Describe(u"Title"), engine::kSOk);
    EXPECT_EQ(type_, AttributeDataType::String);
    EXPECT_EQ(length_, (13u + 1u) * 2u);  // "Blue in Green" and its terminator

    ASSERT_EQ(Describe(u"WM/Track"), engine::kSOk);
    EXPECT_EQ(type_, AttributeDataType::Dword);
    EXPECT_EQ(length_, 4u);
}

TEST_F(MetadataEditorTest, CopiesAValueIntoABufferLargeEnough)
{
    ASSERT_EQ(OpenAs("all_attributes.wma"), engine::kSOk);
    std::array<uint8_t, 8> value{};
    uint32_t length = value.size();

    ASSERT_EQ(editor_->GetAttributeByName(engine::kFileLevelStream, u"WM/Track", &type_, value.data(), &length),
              engine::kSOk);

    EXPECT_EQ(length, 4u);
    EXPECT_EQ(value[0], 12);
    EXPECT_EQ(value[4], 0);  // nothing written past the value
}

TEST_F(MetadataEditorTest, RefusesABufferTooSmallAndTellsTheLengthNeeded)
{
    ASSERT_EQ(OpenAs("all_attributes.wma"), engine::kSOk);
    std::array<uint8_t, 8> value{};
    uint32_t length = 4;

    EXPECT_EQ(editor_->GetAttributeByName(engine::kFileLevelStream, u"Title", &type_, value.data(), &length),
              engine::kAsfEBufferTooSmall);

    EXPECT_EQ(length, 28u);
    EXPECT_EQ(value, (std::array<uint8_t, 8>{}));
}

TEST_F(MetadataEditorTest, AttributesNotThereAreNotFoundWithLengthZero)
{
    ASSERT_EQ(OpenAs("no_attributes.wma"), engine::kSOk);

    EXPECT_EQ(Describe(u"Title"), engine::kAsfENotFound);  // an empty content description field
    EXPECT_EQ(length_, 0u);
    EXPECT_EQ(Describe(u"WM/Genre"), engine::kAsfENotFound);
    EXPECT_EQ(length_, 0u);
}

TEST_F(MetadataEditorTest, OnlyTheFileLevelStreamHoldsTheAttributes)
{
    ASSERT_EQ(OpenAs("all_attributes.wma"), engine::kSOk);

    EXPECT_EQ(Describe(u"WM/Genre", 1), engine::kAsfENotFound);
    EXPECT_EQ(Describe(u"Title", 1), engine::kAsfENotFound);
}

TEST_F(MetadataEditorTest, OpenFailuresCarryTheirCause)
{
    EXPECT_EQ(Open("Music/missing.wma"), engine::HResultFromWin32(platform::kErrorPathNotFound));
    device_.MakeFolder("Music");
    EXPECT_EQ(Open("Music/missing.wma"), engine::HResultFromWin32(platform::kErrorFileNotFound));
    EXPECT_EQ(OpenAs("damaged_header.wma"), engine::kAsfEInvalidHeader);
    EXPECT_EQ(OpenAs("truncated_header.wma"), engine::kAsfEInvalidHeader);
}

TEST_F(MetadataEditorTest, HeaderInfoIsThereOnlyWhileAFileIsOpen)
{
    engine::HeaderInfo* headerInfo = nullptr;
    EXPECT_EQ(editor_->QueryHeaderInfo(&headerInfo), engine::kENoInterface);
    EXPECT_EQ(Describe(u"Title"), engine::kEUnexpected);

    ASSERT_EQ(OpenAs("title_only.wma"), engine::kSOk);
    ASSERT_EQ(editor_->QueryHeaderInfo(&headerInfo), engine::kSOk);
    ASSERT_NE(headerInfo, nullptr);

    editor_->Close();
    EXPECT_EQ(editor_->QueryHeaderInfo(&headerInfo), engine::kENoInterface);
}

TEST_F(MetadataEditorTest, FindsTheFileWhateverTheCaseOfItsName)
{
    device_.WriteFile("Music/Song.WMA", testsupport::WmaTestFile("title_only.wma"));

    EXPECT_EQ(Open("MUSIC/song.wma"), engine::kSOk);
}

}  // namespace
