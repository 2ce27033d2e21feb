#include "engine/catalogue/entrysize.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/catalogue/trackcomparison.h"
#include "engine/catalogue/tests/trackbuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using engine::NavigationContext;
using engine::OrderedEntry;
using engine::PlaylistKind;
using testsupport::TrackSpec;

// Ordinals and counts of levels 1 to 3 of one entry.
struct Position {
    std::array<int32_t, 3> ordinal;
    std::array<int32_t, 3> count;

    bool operator==(const Position&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Position& position)
{
    return out << "O(" << position.ordinal[0] << ',' << position.ordinal[1] << ',' << position.ordinal[2] << ") N("
               << position.count[0] << ',' << position.count[1] << ',' << position.count[2] << ')';
}

class PlaylistOrderTest : public ::testing::Test {
protected:
    void Add(const TrackSpec& tags) { catalogue_.AddTrack(testsupport::MakeTrack(tags)); }

    static std::vector<std::string> Titles(const std::vector<OrderedEntry>& entries)
    {
        std::vector<std::string> titles;
        for (const OrderedEntry& entry : entries) titles.emplace_back(entry.track->title);
        return titles;
    }

    static std::vector<Position> Positions(const std::vector<OrderedEntry>& entries)
    {
        std::vector<Position> positions;
        for (const OrderedEntry& entry : entries) positions.push_back({entry.context.ordinal, entry.context.count});
        return positions;
    }

    int64_t SumOfSizes(const std::vector<OrderedEntry>& entries, std::size_t first, std::size_t count, int32_t level)
    {
        int64_t sum = 0;
        for (std::size_t i = first; i < first + count; ++i) sum += engine::EntrySize(*entries[i].track, level);
        return sum;
    }

    engine::TrackCatalogue catalogue_;
};

TEST_F(PlaylistOrderTest, AnAlbumListsItsNumberedTracksThenTheOthersByTitle)
{
    Add({.album = "Album", .title = "Three", .track = 3});
    Add({.album = "Album", .title = "One", .track = 1});
    Add({.album = "Album", .title = "Zed"});
    Add({.album = "Album", .title = "Two", .track = 2});
    Add({.album = "Album", .title = "Alpha"});

    for (PlaylistKind kind : {PlaylistKind::Album, PlaylistKind::Artist}) {
        const auto entries = catalogue_.OrderedEntries(kind);
        EXPECT_EQ(Titles(entries), (std::vector<std::string>{"One", "Two", "Three", "Alpha", "Zed"}));
    }
}

TEST_F(PlaylistOrderTest, AlbumEntriesCarryAlbumNumbersAndTotals)
{
    Add({.album = "b-side", .title = "x"});
    Add({.album = "A-Side", .title = "y", .track = 2});
    Add({.album = "a-side", .title = "z", .track = 1});

    const auto entries = catalogue_.OrderedEntries(PlaylistKind::Album);
    EXPECT_EQ(Titles(entries), (std::vector<std::string>{"z", "y", "x"}));
    EXPECT_EQ(Positions(entries), (std::vector<Position>{
                                      {{-1, 1, 1}, {-1, 2, 2}},
                                      {{-1, 1, 2}, {-1, 2, 2}},
                                      {{-1, 2, 1}, {-1, 2, 1}},
                                  }));
    EXPECT_EQ(entries[0].context.levelTwoTotal, SumOfSizes(entries, 0, 2, 2));
    EXPECT_EQ(entries[2].context.levelTwoTotal, SumOfSizes(entries, 2, 1, 2));
    EXPECT_EQ(entries[0].context.levelOneTotal, engine::kLevelAbsent);
}

TEST_F(PlaylistOrderTest, TheSameAlbumNameByTwoArtistsIsOneAlbumButTwoArtistGroups)
{
    Add({.artist = "Queen", .album = "Greatest Hits", .title = "Bohemian", .track = 1});
    Add({.artist = "ABBA", .album = "Greatest Hits", .title = "Waterloo", .track = 2});
    Add({.artist = "ABBA", .album = "Arrival", .title = "Dancing", .track = 1});

    const auto albums = catalogue_.OrderedEntries(PlaylistKind::Album);
    EXPECT_EQ(Titles(albums), (std::vector<std::string>{"Dancing", "Bohemian", "Waterloo"}));
    EXPECT_EQ(albums[1].context.ordinal[1], 2);
    EXPECT_EQ(albums[2].context.ordinal[1], 2);
    EXPECT_EQ(albums[2].context.count[2], 2);

    const auto artists = catalogue_.OrderedEntries(PlaylistKind::Artist);
    EXPECT_EQ(Titles(artists), (std::vector<std::string>{"Dancing", "Waterloo", "Bohemian"}));
    EXPECT_EQ(Positions(artists), (std::vector<Position>{
                                       {{1, 1, 1}, {2, 2, 1}},
                                       {{1, 2, 1}, {2, 2, 1}},
                                       {{2, 1, 1}, {2, 1, 1}},
                                   }));
    EXPECT_EQ(artists[0].context.levelOneTotal, SumOfSizes(artists, 0, 2, 3));
    EXPECT_EQ(artists[1].context.levelTwoTotal, SumOfSizes(artists, 1, 1, 3));
    EXPECT_EQ(artists[2].context.levelOneTotal, SumOfSizes(artists, 2, 1, 3));
    EXPECT_EQ(artists[2].context.levelTwoTotal, SumOfSizes(artists, 2, 1, 3));
}

TEST_F(PlaylistOrderTest, ArtistsDifferingInCaseAreOneGroup)
{
    Add({.artist = "ABBA", .title = "b"});
    Add({.artist = "Beatles", .title = "c"});
    Add({.artist = "Abba", .title = "a"});

    const auto entries = catalogue_.OrderedEntries(PlaylistKind::Artist);
    EXPECT_EQ(Titles(entries), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Positions(entries), (std::vector<Position>{
                                      {{1, 1, 1}, {2, 1, 2}},
                                      {{1, 1, 2}, {2, 1, 2}},
                                      {{2, 1, 1}, {2, 1, 1}},
                                  }));
}

TEST_F(PlaylistOrderTest, GenresListTheirArtistsAndEachArtistsTitlesIgnoringTrackNumbers)
{
    Add({.artist = "Queen", .title = "b", .genre = "Rock", .track = 1});
    Add({.artist = "Queen", .title = "a", .genre = "Rock", .track = 2});
    Add({.artist = "ABBA", .title = "z", .genre = "Rock", .track = 1});
    Add({.artist = "ABBA", .title = "m", .genre = "Pop"});

    const auto entries = catalogue_.OrderedEntries(PlaylistKind::Genre);
    EXPECT_EQ(Titles(entries), (std::vector<std::string>{"m", "z", "a", "b"}));
    EXPECT_EQ(Positions(entries), (std::vector<Position>{
                                      {{1, 1, 1}, {2, 1, 1}},
                                      {{2, 1, 1}, {2, 2, 1}},
                                      {{2, 2, 1}, {2, 2, 2}},
                                      {{2, 2, 2}, {2, 2, 2}},
                                  }));
    EXPECT_EQ(entries[1].context.levelOneTotal, SumOfSizes(entries, 1, 3, 3));
    EXPECT_EQ(entries[2].context.levelTwoTotal, SumOfSizes(entries, 2, 2, 3));
}

TEST_F(PlaylistOrderTest, FlatPlaylistsHaveOnlyTheInnermostLevel)
{
    Add({.title = "b", .fileName = "1.mp3"});
    Add({.title = "a", .fileName = "3.mp3"});
    Add({.title = "c", .fileName = "2.mp3"});

    EXPECT_EQ(Titles(catalogue_.OrderedEntries(PlaylistKind::AudioFiles)), (std::vector<std::string>{"b", "c", "a"}));
    const auto entries = catalogue_.OrderedEntries(PlaylistKind::Title);
    EXPECT_EQ(Titles(entries), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Positions(entries), (std::vector<Position>{
                                      {{-1, -1, 1}, {-1, -1, 3}},
                                      {{-1, -1, 2}, {-1, -1, 3}},
                                      {{-1, -1, 3}, {-1, -1, 3}},
                                  }));
    EXPECT_EQ(entries[0].context.levelOneTotal, engine::kLevelAbsent);
    EXPECT_EQ(entries[0].context.levelTwoTotal, engine::kLevelAbsent);
}

TEST_F(PlaylistOrderTest, AGroupLargerThanTheSelectionLimitIsOrderedToo)
{
    std::vector<std::string> titles;
    for (int i = 0; i < 300; ++i) titles.push_back("Title " + std::to_string(1000 + i));
    std::shuffle(titles.begin(), titles.end(), std::mt19937(7));
    for (std::size_t i = 0; i < 300; ++i) {
        const auto track = static_cast<int32_t>(i * 37 % 100);
        Add({.artist = "Artist", .album = "Album", .title = titles[i], .track = track});
        Add({.artist = "Artist", .album = "Album", .title = titles[299 - i] + " bonus"});
    }

    const auto entries = catalogue_.OrderedEntries(PlaylistKind::Artist);
    ASSERT_EQ(entries.size(), 600u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].context.ordinal[2], static_cast<int32_t>(i + 1));
        EXPECT_EQ(entries[i].context.count[2], 600);
        EXPECT_EQ((entries[i].track->trackNumber == engine::kNoTrackNumber), i >= 300) << i;
    }
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (i == 300) continue;  // from the last numbered track to the first unnumbered one
        const engine::SortKey key = i < 300 ? engine::SortKey::TrackNumber : engine::SortKey::Title;
        EXPECT_LE(engine::CompareTracks(*entries[i - 1].track, *entries[i].track, key), 0) << i;
    }
}

TEST_F(PlaylistOrderTest, NoTracksOrNoKindGiveNoEntries)
{
    EXPECT_TRUE(catalogue_.OrderedEntries(PlaylistKind::Artist).empty());
    Add({.title = "a"});
    EXPECT_TRUE(catalogue_.OrderedEntries(static_cast<PlaylistKind>(4)).empty());
}

}  // namespace
