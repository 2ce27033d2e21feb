#include "engine/wma/wmaattributereader.h"

#include "engine/wma/tests/wmatestfiles.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using engine::TextOf;

class WmaAttributeReaderTest : public ::testing::Test {
protected:
    // Puts a committed test file on the device under the given name and reads its attributes.
    int32_t ReadAs(std::string_view dataFile, std::string_view deviceName = "Music/song.wma")
    {
        device_.WriteFile(deviceName, testsupport::WmaTestFile(dataFile));
        const std::string path = testsupport::DevicePath(device_, deviceName);
        return engine::ReadWmaAttributes(path.c_str(), &record_);
    }

    testsupport::TemporaryDevice device_;
    engine::TrackRecord record_;
};

struct ExpectedTags {
    std::string file;
    std::string album;
    std::string title;
    std::string artist;
    std::string genre;
    int32_t trackNumber;
};

void PrintTo(const ExpectedTags& expected, std::ostream* out)
{
    *out << expected.file;
}

class CommittedWmaFileTest : public WmaAttributeReaderTest, public ::testing::WithParamInterface<ExpectedTags> {};

TEST_P(CommittedWmaFileTest, FillsTheRecordFromTheHeader)
{
    const ExpectedTags& expected = GetParam();
    ASSERT_EQ(ReadAs(expected.file), engine::kWmaRead);
    EXPECT_EQ(TextOf(record_.album), expected.album);
    EXPECT_EQ(TextOf(record_.title), expected.title);
    EXPECT_EQ(TextOf(record_.artist), expected.artist);
    EXPECT_EQ(TextOf(record_.genre), expected.genre);
    EXPECT_EQ(record_.trackNumber, expected.trackNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, CommittedWmaFileTest,
    ::testing::Values(
        ExpectedTags{"all_attributes.wma", "Kind of Blue", "Blue in Green", "Miles Davis", "Jazz", 12},
        ExpectedTags{"no_attributes.wma", "", "", "", "", engine::kNoTrackNumber},
        // "Title" stands in when there is no "WM/Title"; nothing stands in for a missing genre.
        ExpectedTags{"title_only.wma", "", "Only a Title", "", "", engine::kNoTrackNumber},
        ExpectedTags{"extended_names.wma", "", "Extended Title", "Extended Author", "", engine::kNoTrackNumber},
        ExpectedTags{"track_150.wma", "", "", "", "", 99},
        ExpectedTags{"track_word.wma", "", "", "", "", 5},
        ExpectedTags{"track_negative.wma", "", "", "", "", engine::kNoTrackNumber},
        ExpectedTags{"track_text.wma", "", "", "", "", 7},
        ExpectedTags{"title_127.wma", "", std::string(127, 'T'), "", "", engine::kNoTrackNumber}),
    [](const ::testing::TestParamInfo<ExpectedTags>& info) {
        return info.param.file.substr(0, info.param.file.find('.'));
    });

TEST_F(WmaAttributeReaderTest, AbsentAttributesLeaveTheFieldsAsTheyWere)
{
    engine::SetText(record_.album, "Earlier album");
    engine::SetText(record_.genre, "Earlier genre");
    record_.trackNumber = 42;

    ASSERT_EQ(ReadAs("title_only.wma"), engine::kWmaRead);

    EXPECT_EQ(TextOf(record_.album), "Earlier album");
    EXPECT_EQ(TextOf(record_.genre), "Earlier genre");
    EXPECT_EQ(record_.trackNumber, 42);
}

// A title longer than the 256-byte value buffer is refused by the editor, reported on standard
// output, and leaves the field blank for the scanner's default; nothing beyond the field changes.
TEST_F(WmaAttributeReaderTest, TitlesLongerThanTheValueBufferAreReportedAndLeftBlank)
{
    for (const char* file : {"title_128.wma", "title_200_nonascii.wma"}) {
        SCOPED_TRACE(file);
        record_ = engine::TrackRecord{};
        engine::SetText(record_.genre, "Genre after the title");
        ::testing::internal::CaptureStdout();
        const int32_t result = ReadAs(file);
        const std::string output = ::testing::internal::GetCapturedStdout();

        EXPECT_EQ(result, engine::kWmaRead);
        EXPECT_EQ(TextOf(record_.title), "");
        EXPECT_EQ(TextOf(record_.genre), "Genre after the title");
        EXPECT_EQ(output, "GetAttributeByName failed for Attribute name Title (hr=0xc00d07d1).\n");
    }
}

TEST_F(WmaAttributeReaderTest, FilesWhoseHeaderDoesNotReadCannotBeOpened)
{
    EXPECT_EQ(ReadAs("damaged_header.wma"), engine::kWmaCannotOpen);
    EXPECT_EQ(ReadAs("truncated_header.wma"), engine::kWmaCannotOpen);
    // Its count claims 63,748 attributes: refused before TagLib would read them on past the end.
    EXPECT_EQ(ReadAs("attribute_count_past_end.wma"), engine::kWmaCannotOpen);
    EXPECT_EQ(TextOf(record_.title), "");
}

TEST_F(WmaAttributeReaderTest, AMissingFileCannotBeOpened)
{
    const std::string path = testsupport::DevicePath(device_, "Music/missing.wma");
    EXPECT_EQ(engine::ReadWmaAttributes(path.c_str(), &record_), engine::kWmaCannotOpen);
}

TEST_F(WmaAttributeReaderTest, TheExtensionIsWmaInAnyCaseOrNone)
{
    EXPECT_EQ(ReadAs("all_attributes.wma", "Music/song.wMa"), engine::kWmaRead);
    EXPECT_EQ(TextOf(record_.title), "Blue in Green");

    record_ = engine::TrackRecord{};
    EXPECT_EQ(ReadAs("all_attributes.wma", "Music/song"), engine::kWmaRead);
    EXPECT_EQ(TextOf(record_.title), "Blue in Green");

    record_ = engine::TrackRecord{};
    EXPECT_EQ(ReadAs("all_attributes.wma", "Music/song.mp3"), engine::kWmaNotWmaPath);
    EXPECT_EQ(TextOf(record_.title), "");
}

TEST_F(WmaAttributeReaderTest, APathThatIsNotTextOfTheCodePageIsReported)
{
    // 0x81 has no character in Windows-1252, the default system code page.
    const std::string path = testsupport::DevicePath(device_, "Music/a\x81.wma");
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(engine::ReadWmaAttributes(path.c_str(), &record_), engine::kWmaPathNotConverted);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Internal error (hr=0x80070459)\n");
}

TEST_F(WmaAttributeReaderTest, NullArgumentsAreRefused)
{
    EXPECT_EQ(engine::ReadWmaAttributes(nullptr, &record_), engine::kWmaPathNotConverted);
    EXPECT_EQ(engine::ReadWmaAttributes("E:\\song.wma", nullptr), engine::kWmaPathNotConverted);
}

}  // namespace
