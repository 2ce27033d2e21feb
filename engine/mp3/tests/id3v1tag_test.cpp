#include "engine/mp3/id3v1tag.h"
#include "testsupport/id3builder.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

using testsupport::Id3v1Block;
using testsupport::Id3v1Fields;

TEST(Id3v1BuilderTest, PlacesTheVersion11TrackAndGenre)
{
    const std::string block = Id3v1Block({.comment = std::string(40, 'c'), .track = 5, .genre = 60});
    ASSERT_EQ(block.size(), kId3v1BlockSize);
    EXPECT_EQ(block.substr(97, 28), std::string(28, 'c'));
    EXPECT_EQ(block[125], '\0');
    EXPECT_EQ(block[126], 5);
    EXPECT_EQ(block[127], 60);
}

class ReadId3v1BlockTest : public testing::Test {
protected:
    bool Read(const Id3v1Fields& fields) { return ReadId3v1Block(Id3v1Block(fields), record_); }

    TrackRecord record_;
};

TEST_F(ReadId3v1BlockTest, FillsBlankFieldsTrimmed)
{
    const std::string thirty(30, 'x');
    EXPECT_TRUE(Read({.title = " Song  ", .artist = thirty, .album = "Record", .track = 5, .genre = 13}));
    EXPECT_EQ(TextOf(record_.title), "Song");
    EXPECT_EQ(TextOf(record_.artist), thirty);
    EXPECT_EQ(TextOf(record_.album), "Record");
    EXPECT_EQ(record_.trackNumber, 5);
    EXPECT_EQ(TextOf(record_.genre), "Pop");
}

TEST_F(ReadId3v1BlockTest, KeepsFieldsTheVersion2TagFilled)
{
    SetText(record_.title, "From v2");
    SetText(record_.artist, "   ");
    SetText(record_.genre, "Jazz");
    record_.trackNumber = 0;
    EXPECT_TRUE(Read({.title = "v1 title", .artist = "v1 artist", .track = 5, .genre = 13}));
    EXPECT_EQ(TextOf(record_.title), "From v2");
    EXPECT_EQ(TextOf(record_.artist), "v1 artist");
    EXPECT_EQ(TextOf(record_.genre), "Jazz");
    EXPECT_EQ(record_.trackNumber, 0);
}

TEST_F(ReadId3v1BlockTest, RejectsBlocksWithoutMarker)
{
    std::string block = Id3v1Block({.title = "Song"});
    block[0] = 't';
    EXPECT_FALSE(ReadId3v1Block(block, record_));
    EXPECT_FALSE(ReadId3v1Block(Id3v1Block({.title = "Song"}).substr(0, 127), record_));
    EXPECT_EQ(TextOf(record_.title), "");
}

struct TrackByteCase {
    std::string_view comment;
    uint8_t track;
    int32_t expected;
};

void PrintTo(const TrackByteCase& c, std::ostream* os)
{
    *os << "comment \"" << c.comment << "\", track byte " << int{c.track};
}

class Id3v1TrackTest : public ReadId3v1BlockTest, public testing::WithParamInterface<TrackByteCase> {};

TEST_P(Id3v1TrackTest, ReadsVersion11Track)
{
    Read({.comment = GetParam().comment, .track = GetParam().track});
    EXPECT_EQ(record_.trackNumber, GetParam().expected);
}

// A 30-byte comment leaves byte 125 non-zero: a version 1.0 block without a track.
INSTANTIATE_TEST_SUITE_P(Bytes, Id3v1TrackTest,
                         testing::Values(TrackByteCase{"", 5, 5}, TrackByteCase{"", 99, 99},
                                         TrackByteCase{"", 100, kNoTrackNumber}, TrackByteCase{"", 0x80, kNoTrackNumber},
                                         TrackByteCase{"", 0xFF, kNoTrackNumber},
                                         TrackByteCase{"thirty bytes of comment text..", 0, kNoTrackNumber}));

struct GenreByteCase {
    uint8_t genre;
    std::string_view expected;
};

void PrintTo(const GenreByteCase& c, std::ostream* os)
{
    *os << "genre byte " << int{c.genre};
}

class Id3v1GenreTest : public ReadId3v1BlockTest, public testing::WithParamInterface<GenreByteCase> {};

TEST_P(Id3v1GenreTest, ReadsGenreByte)
{
    Read({.genre = GetParam().genre});
    EXPECT_EQ(TextOf(record_.genre), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Id3v1GenreTest,
                         testing::Values(GenreByteCase{0, "Blues"}, GenreByteCase{60, "Top "},
                                         GenreByteCase{125, "Dance Hall"}, GenreByteCase{126, ""},
                                         GenreByteCase{255, ""}));

}  // namespace
}  // namespace engine
