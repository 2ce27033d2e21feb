#include "engine/catalogue/entrysize.h"
#include "engine/catalogue/tests/trackbuilder.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/playlist/playlistentry.h"
#include "engine/playlist/tests/playlistparser.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using engine::PlaylistKind;

struct HeaderCase {
    PlaylistKind kind;
    std::string_view expected;
};

class PlaylistHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(PlaylistHeaderTest, HeaderIsTheUpperCasedLabelBetweenTagAndVersion)
{
    const std::string header = engine::FormatPlaylistHeader(GetParam().kind);
    EXPECT_EQ(header, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PlaylistHeaderTest,
                         ::testing::Values(HeaderCase{PlaylistKind::Artist, "#EXTKOVAM3U <ARTIST> V0.02\n"},
                                           HeaderCase{PlaylistKind::Album, "#EXTKOVAM3U <ALBUM> V0.02\n"},
                                           HeaderCase{PlaylistKind::Title, "#EXTKOVAM3U <TITLE> V0.02\n"},
                                           HeaderCase{PlaylistKind::Genre, "#EXTKOVAM3U <GENRE> V0.02\n"},
                                           HeaderCase{PlaylistKind::AudioFiles, "#EXTKOVAM3U <AUDIO FILES> V0.02\n"},
                                           HeaderCase{static_cast<PlaylistKind>(4), ""}));

std::string EntryText(const engine::CatalogueTrack& track, int32_t level, const engine::NavigationContext& context)
{
    std::string bytes(engine::MaxEntryBytes(track), '\0');
    bytes.resize(static_cast<std::size_t>(engine::FormatPlaylistEntry(bytes.data(), track, level, context) - bytes.data()));
    return bytes;
}

// The album, artist, title and genre fields of an entry whose album is the text given and whose
// other texts are empty.
std::string TagFieldsWithAlbum(std::string_view album)
{
    engine::CatalogueTrack track;
    track.album = album;
    const std::string entry = EntryText(track, 1, engine::NavigationContext{});
    const std::string_view numbers = "#EXTKOVAINF 1 9999 000000";  // level, entry number, length
    EXPECT_TRUE(entry.starts_with(numbers));
    return entry.substr(numbers.size(), entry.find(" 002<--> ") - numbers.size());
}

TEST(TagFieldTest, AngleBracketsInTheTextStayInsideTheLengthPrefix)
{
    EXPECT_EQ(TagFieldsWithAlbum("<a>b<c"), " 006<<a>b<c> 000<> 000<> 000<>");
}

TEST(TagFieldTest, TextIsCutAtTheFieldSize)
{
    EXPECT_EQ(TagFieldsWithAlbum(std::string(300, 'a')), " 256<" + std::string(256, 'a') + "> 000<> 000<> 000<>");
}

TEST(TagFieldTest, TrackNumbersAreTwoDigitsOrDashes)
{
    EXPECT_EQ(engine::TrackNumberText(engine::kNoTrackNumber), "--");
    EXPECT_EQ(engine::TrackNumberText(0), "00");
    EXPECT_EQ(engine::TrackNumberText(7), "07");
    EXPECT_EQ(engine::TrackNumberText(99), "99");
    EXPECT_EQ(engine::TrackNumberText(-5), "-5");
    EXPECT_EQ(engine::TrackNumberText(100), "100");
}

// The numbers of an entry are written as "%0*d" writes them: zero-padded to their width, wider when
// they need more digits, with a sign when negative.
struct NumbersCase {
    int32_t entryNumber;
    int32_t entryLength;
    int32_t distance;  // Back, Next and Prev of the entry's only navigation group
    int32_t trackNumber;
};

class EntryNumbersTest : public ::testing::TestWithParam<NumbersCase> {};

TEST_P(EntryNumbersTest, NumbersAreWrittenAsPrintfWritesThem)
{
    const NumbersCase& numbers = GetParam();
    engine::CatalogueTrack track;
    track.title = "t";
    track.path = "p";
    track.trackNumber = numbers.trackNumber;
    track.entryNumber = numbers.entryNumber;
    track.entryLength = numbers.entryLength;
    track.navigation.fill(numbers.distance);
    engine::NavigationContext context;
    context.ordinal[2] = numbers.entryNumber;
    context.count[2] = numbers.entryNumber + 1;

    const std::string trackText = numbers.trackNumber == engine::kNoTrackNumber ? "--"
                                  : numbers.trackNumber >= 0 && numbers.trackNumber <= 99
                                      ? std::string(1, static_cast<char>('0' + numbers.trackNumber / 10)) +
                                            static_cast<char>('0' + numbers.trackNumber % 10)
                                      : std::to_string(numbers.trackNumber);
    char expected[512];
    std::snprintf(expected, sizeof expected,
                  "#EXTKOVAINF 1 %04d %06d 000<> 000<> 001<t> 000<> %03zu<%s> 000<> %04d %04d %08d %08d %08d 001\np\n",
                  numbers.entryNumber, numbers.entryLength, trackText.size(), trackText.c_str(), numbers.entryNumber,
                  numbers.entryNumber + 1, numbers.distance, numbers.distance, numbers.distance);
    const std::string entry = EntryText(track, 1, context);
    EXPECT_EQ(entry, expected);
    EXPECT_LE(entry.size(), engine::MaxEntryBytes(track));
}

INSTANTIATE_TEST_SUITE_P(Widths, EntryNumbersTest,
                         ::testing::Values(NumbersCase{1, 0, 0, 0},                   // padded
                                           NumbersCase{9998, 999999, 99999999, 99},   // as wide as the fields
                                           NumbersCase{12, 10000, 10000, 7},          // across groups of four
                                           NumbersCase{4321, 123456, 12345678, engine::kNoTrackNumber},
                                           NumbersCase{10000, 1000000, 100000000, 100},  // wider than the fields
                                           NumbersCase{-1, -12, -1234567, -5},           // negative
                                           NumbersCase{INT32_MAX - 1, INT32_MIN, INT32_MIN, INT32_MIN}));

// Every text of the record has the same length; the entry's bytes must be what EntrySize says,
// or every distance after it would be off.
class EntryBytesTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(EntryBytesTest, BytesAgreeWithEntrySizeForEveryTextLength)
{
    const int32_t level = GetParam();
    engine::NavigationContext context;
    for (int32_t present = 4 - level; present <= 3; ++present) {
        context.ordinal[static_cast<std::size_t>(present - 1)] = 1;
        context.count[static_cast<std::size_t>(present - 1)] = 2;
    }
    engine::TrackCatalogue catalogue;
    for (std::size_t length = 0; length <= 255; ++length) {
        const std::string text(length, 'x');
        engine::CatalogueTrack& track = catalogue.AppendTrack(testsupport::MakeTrack(
            {.artist = text, .album = text, .title = text, .genre = text, .track = 5, .path = text}));
        track.entryNumber = 1;
        track.entryLength = engine::EntrySize(track, level) - 1;
        const std::string bytes = "header\n" + EntryText(track, level, context);

        const testsupport::ParsedPlaylist parsed = testsupport::ParsePlaylist(bytes);
        ASSERT_EQ(parsed.entries.size(), 1u) << length;
        const testsupport::ParsedEntry& entry = parsed.entries[0];
        EXPECT_EQ(entry.size, static_cast<std::size_t>(engine::EntrySize(track, level))) << length;
        EXPECT_EQ(entry.length, track.entryLength) << length;
        EXPECT_EQ(entry.groups.size(), static_cast<std::size_t>(level));
        EXPECT_EQ(entry.fields[testsupport::kTitleField], text);
        EXPECT_EQ(entry.fields[testsupport::kTrackField], "05");
        EXPECT_EQ(entry.path, track.path);
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, EntryBytesTest, ::testing::Values(1, 2, 3));

}  // namespace
