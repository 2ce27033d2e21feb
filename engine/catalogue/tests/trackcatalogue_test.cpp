#include "engine/catalogue/entrysize.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/catalogue/tests/trackbuilder.h"

#include <gtest/gtest.h>

namespace {

using testsupport::MakeTrack;
using testsupport::TrackSpec;

class TrackCatalogueTest : public ::testing::Test {
protected:
    // The size of the entry these tags make at a level, worked out from a separate record.
    static int32_t SizeOf(const TrackSpec& tags, int32_t level) { return engine::EntrySize(*MakeTrack(tags), level); }

    void Add(const TrackSpec& tags) { catalogue_.AddTrack(MakeTrack(tags)); }

    engine::TrackCatalogue catalogue_;
};

TEST_F(TrackCatalogueTest, EntrySizeCountsTheTextsOnceAndANavigationGroupPerLevel)
{
    const auto song = MakeTrack({.title = "Song.mp3", .path = "..\\..\\Song.mp3"});
    EXPECT_EQ(engine::EntrySize(*song, 1), 155);
    EXPECT_EQ(engine::EntrySize(*song, 2), 192);
    EXPECT_EQ(engine::EntrySize(*song, 3), 229);
}

TEST_F(TrackCatalogueTest, AddTrackAddsItsEntrySizesToEveryMap)
{
    const TrackSpec first{.artist = "Artist", .album = "First", .title = "one", .genre = "Rock"};
    const TrackSpec second{.artist = "Artist", .album = "Second", .title = "two, longer", .genre = "Rock"};
    Add(first);
    Add(second);

    ASSERT_EQ(catalogue_.TrackCount(), 2u);
    const engine::GroupMap& albums = catalogue_.AlbumMap();
    ASSERT_EQ(albums.size(), 2u);
    EXPECT_EQ(albums.at("first").totalBytes, SizeOf(first, 2));
    EXPECT_EQ(albums.at("second").totalBytes, SizeOf(second, 2));

    const engine::GroupTotals& artist = catalogue_.ArtistMap().at("artist");
    EXPECT_EQ(artist.totalBytes, SizeOf(first, 3) + SizeOf(second, 3));
    EXPECT_EQ(artist.nestedTotals.at("first"), SizeOf(first, 3));
    EXPECT_EQ(artist.nestedTotals.at("second"), SizeOf(second, 3));

    const engine::GroupTotals& genre = catalogue_.GenreMap().at("rock");
    EXPECT_EQ(genre.totalBytes, SizeOf(first, 3) + SizeOf(second, 3));
    ASSERT_EQ(genre.nestedTotals.size(), 1u);
    EXPECT_EQ(genre.nestedTotals.at("artist"), SizeOf(first, 3) + SizeOf(second, 3));
}

TEST_F(TrackCatalogueTest, ArtistsDifferingInCaseShareOneGroup)
{
    Add({.artist = "THE BAND", .title = "a"});
    Add({.artist = "The Band", .title = "b"});
    ASSERT_EQ(catalogue_.ArtistMap().size(), 1u);
    EXPECT_TRUE(catalogue_.ArtistMap().contains("the band"));
}

TEST_F(TrackCatalogueTest, ALongerArtistNameIsAGroupOfItsOwn)
{
    const TrackSpec queen{.artist = "Queen", .title = "a"};
    const TrackSpec latifah{.artist = "Queen Latifah", .title = "b"};
    Add(queen);
    Add(latifah);
    ASSERT_EQ(catalogue_.ArtistMap().size(), 2u);
    EXPECT_EQ(catalogue_.ArtistMap().at("queen").totalBytes, SizeOf(queen, 3));
    EXPECT_EQ(catalogue_.ArtistMap().at("queen latifah").totalBytes, SizeOf(latifah, 3));
}

TEST_F(TrackCatalogueTest, ClearTracksKeepsTheGroupsAndEmptyCatalogueFreesThemToo)
{
    Add({.artist = "Artist", .title = "a"});
    catalogue_.AppendTrack(nullptr);
    EXPECT_EQ(catalogue_.TrackCount(), 1u);

    catalogue_.ClearTracks();
    EXPECT_EQ(catalogue_.TrackCount(), 0u);
    EXPECT_EQ(catalogue_.ArtistMap().size(), 1u);

    Add({.artist = "Artist", .title = "a"});
    catalogue_.EmptyCatalogue();
    EXPECT_EQ(catalogue_.TrackCount(), 0u);
    EXPECT_TRUE(catalogue_.AlbumMap().empty());
    EXPECT_TRUE(catalogue_.ArtistMap().empty());
    EXPECT_TRUE(catalogue_.GenreMap().empty());
}

}  // namespace
