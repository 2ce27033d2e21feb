#include "engine/mp3/mp3tagreader.h"
#include "testsupport/devicetree.h"
#include "testsupport/id3builder.h"

#include <gtest/gtest.h>

#include <string>

namespace engine {
namespace {

using testsupport::Id3v1Block;
using testsupport::Id3v2Frame;
using testsupport::Id3v2Tag;
using testsupport::Id3v2TextFrame;
using testsupport::Mp3File;

const std::string kVersion1Block =
    Id3v1Block({.title = "v1 title", .artist = "v1 artist", .album = "v1 album", .track = 4, .genre = 17});

// Real files on a temporary device mapped as drive E:.
class ReadMp3TagsTest : public testing::Test {
protected:
    int32_t Read(const std::string& bytes)
    {
        device_.WriteFile("Music/song.mp3", bytes);
        return ReadMp3Tags(kPath, &record_);
    }

    static constexpr const char* kPath = "E:\\Music\\song.mp3";
    testsupport::TemporaryDevice device_{'E'};
    TrackRecord record_;
};

TEST_F(ReadMp3TagsTest, FiveFramesFromVersion2LeaveVersion1Unread)
{
    const std::string frames = Id3v2TextFrame("TIT2", "Song") + Id3v2TextFrame("TPE1", "Band") +
                               Id3v2TextFrame("TALB", "Record") + Id3v2TextFrame("TCON", "(13)") +
                               Id3v2TextFrame("TRCK", "7/12");
    EXPECT_EQ(Read(Mp3File(Id3v2Tag(frames, 200), kVersion1Block)), kMp3TagsRead);
    EXPECT_EQ(TextOf(record_.title), "Song");
    EXPECT_EQ(TextOf(record_.artist), "Band");
    EXPECT_EQ(TextOf(record_.album), "Record");
    EXPECT_EQ(TextOf(record_.genre), "Pop");
    EXPECT_EQ(record_.trackNumber, 7);
}

TEST_F(ReadMp3TagsTest, Version1FillsWhatVersion2Lacks)
{
    const std::string frames = Id3v2TextFrame("TIT2", "Song") + Id3v2TextFrame("TPE1", "Band");
    EXPECT_EQ(Read(Mp3File(Id3v2Tag(frames), kVersion1Block)), kMp3TagsRead);
    EXPECT_EQ(TextOf(record_.title), "Song");
    EXPECT_EQ(TextOf(record_.artist), "Band");
    EXPECT_EQ(TextOf(record_.album), "v1 album");
    EXPECT_EQ(TextOf(record_.genre), "Rock");
    EXPECT_EQ(record_.trackNumber, 4);
}

TEST_F(ReadMp3TagsTest, ReadsTagsLongerThanTheFirstRead)
{
    const std::string frames = Id3v2Frame("APIC", std::string(3000, 'p')) + Id3v2TextFrame("TIT2", "Late");
    EXPECT_EQ(Read(Mp3File(Id3v2Tag(frames), kVersion1Block)), kMp3TagsRead);
    EXPECT_EQ(TextOf(record_.title), "Late");
}

TEST_F(ReadMp3TagsTest, TagSizeBeyondTheFileUsesTheBytesThere)
{
    const std::string frames = Id3v2Frame("APIC", std::string(2000, 'p')) + Id3v2TextFrame("TIT2", "Song");
    EXPECT_EQ(Read(testsupport::Id3v2TagWithSizeBytes({0x7F, 0x7F, 0x7F, 0x7F}, frames) + kVersion1Block),
              kMp3TagsRead);
    EXPECT_EQ(TextOf(record_.title), "Song");
    EXPECT_EQ(TextOf(record_.artist), "v1 artist");
}

TEST_F(ReadMp3TagsTest, KeepsVersion2FieldsWhenVersion1Fails)
{
    EXPECT_EQ(Read(Mp3File(Id3v2Tag(Id3v2TextFrame("TIT2", "Song")))), kMp3NoId3v1Tag);
    EXPECT_EQ(TextOf(record_.title), "Song");
}

struct ResultCase {
    const char* name;
    std::string bytes;
    int32_t expected;
};

void PrintTo(const ResultCase& c, std::ostream* os)
{
    *os << c.name;
}

class ReadMp3TagsResultTest : public ReadMp3TagsTest, public testing::WithParamInterface<ResultCase> {};

TEST_P(ReadMp3TagsResultTest, GivesResult)
{
    EXPECT_EQ(Read(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadMp3TagsResultTest,
    testing::Values(ResultCase{"version1_only", Mp3File("", kVersion1Block), kMp3TagsRead},
                    ResultCase{"five_bytes", std::string("ID3\x03\x00", 5), kMp3TooShort},
                    ResultCase{"empty", "", kMp3EmptyFile},
                    ResultCase{"no_tag", Mp3File(""), kMp3NoId3v1Tag},
                    ResultCase{"no_tag_shorter_than_version1_block", Mp3File("", "", 50), kMp3FileException},
                    ResultCase{"zero_tag_size", Mp3File(testsupport::Id3v2TagWithSizeBytes({0, 0, 0, 0}, "")),
                               kMp3InvalidTagSize},
                    ResultCase{"size_byte_top_bit",
                               Mp3File(testsupport::Id3v2TagWithSizeBytes({0, 0, 0x80, 0x10}, ""), kVersion1Block),
                               kMp3InvalidTagSize}),
    [](const testing::TestParamInfo<ResultCase>& info) { return std::string(info.param.name); });

TEST_F(ReadMp3TagsTest, ReportsMissingFileAndNullArguments)
{
    EXPECT_EQ(ReadMp3Tags("E:\\Music\\missing.mp3", &record_), kMp3CannotOpen);
    EXPECT_EQ(ReadId3v1Tag("E:\\Music\\missing.mp3", &record_), kMp3CannotOpen);
    EXPECT_EQ(ReadMp3Tags(nullptr, &record_), kMp3NullArgument);
    EXPECT_EQ(ReadMp3Tags(kPath, nullptr), kMp3NullArgument);
    EXPECT_EQ(ReadId3v1Tag(nullptr, &record_), kMp3NullArgument);
}

}  // namespace
}  // namespace engine
