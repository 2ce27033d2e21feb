#include "engine/catalogue/entrysize.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/catalogue/tests/trackbuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using testsupport::MakeTrack;
using testsupport::TrackSpec;

class TrackCatalogueTest : public ::testing::Test {
protected:
    // The size of the entry these tags make at a level, worked out in a separate catalogue.
    static int32_t SizeOf(const TrackSpec& tags, int32_t level)
    {
        engine::TrackCatalogue separate;
        return engine::EntrySize(separate.AppendTrack(MakeTrack(tags)), level);
    }

    void Add(const TrackSpec& tags) { catalogue_.AddTrack(MakeTrack(tags)); }

    engine::TrackCatalogue catalogue_;
};

TEST_F(TrackCatalogueTest, EntrySizeCountsTheTextsOnceAndANavigationGroupPerLevel)
{
    const TrackSpec song{.title = "Song.mp3", .path = "..\\..\\Song.mp3"};
    EXPECT_EQ(SizeOf(song, 1), 155);
    EXPECT_EQ(SizeOf(song, 2), 192);
    EXPECT_EQ(SizeOf(song, 3), 229);
}

// Tracks and texts are kept in blocks: every track must keep its own texts, and the folded forms
// the sorts compare, however many blocks they fill.
TEST_F(TrackCatalogueTest, EveryTrackKeepsItsTextsAndTheirFoldedForms)
{
    const auto tagsOf = [](int i) {
        return std::pair{"Artist " + std::to_string(i), std::string(static_cast<std::size_t>(i % 256), 'T')};
    };
    for (int i = 0; i < 3000; ++i) {
        const auto [artist, title] = tagsOf(i);
        catalogue_.AppendTrack(MakeTrack({.artist = artist, .title = title, .fileName = "F.mp3"}));
    }
    ASSERT_EQ(catalogue_.TrackCount(), 3000u);
    for (int i = 0; i < 3000; ++i) {
        const auto [artist, title] = tagsOf(i);
        const engine::CatalogueTrack& track = catalogue_.Track(static_cast<std::size_t>(i));
        ASSERT_EQ(track.artist, artist) << i;
        ASSERT_EQ(track.foldedArtist, "artist " + std::to_string(i)) << i;
        ASSERT_EQ(track.title, title) << i;
        ASSERT_EQ(track.foldedTitle, std::string(title.size(), 't')) << i;
        ASSERT_EQ(track.fileName, "F.mp3") << i;
        ASSERT_EQ(track.foldedFileName, "f.mp3") << i;
    }
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
