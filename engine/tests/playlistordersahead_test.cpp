#include "engine/catalogue/tests/trackbuilder.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/profile/playlistordersahead.h"
#include "engine/profile/playlistset.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using engine::OrderedEntry;
using engine::PlaylistKind;
using engine::PlaylistOrdersAhead;
using engine::PlaylistSet;
using engine::TrackCatalogue;

// Of each entry, its track's path and its place in its groups.
using Listing = std::vector<std::string>;

Listing ListingOf(const std::vector<OrderedEntry>& entries)
{
    Listing listing;
    for (const OrderedEntry& entry : entries) {
        std::string line(entry.track->path);
        for (std::size_t level = 0; level < entry.context.ordinal.size(); ++level) {
            line += ' ' + std::to_string(entry.context.ordinal[level]) + '/' + std::to_string(entry.context.count[level]);
        }
        listing.push_back(line);
    }
    return listing;
}

// Texts that differ only in case sort as equals, so each sort's order of them is the one the sort
// before left: the tracks give every playlist many such runs.
void FillWithTies(TrackCatalogue& catalogue)
{
    const char* const artists[] = {"Band", "BAND", "band", "Other"};
    const char* const albums[] = {"Live", "LIVE", "Studio"};
    const char* const titles[] = {"Song", "SONG", "song", "Intro", "intro"};
    std::mt19937 random(11);
    for (int i = 0; i < 400; ++i) {
        const std::string path = "..\\..\\" + std::to_string(i) + ".mp3";
        catalogue.AddTrack(testsupport::MakeTrack({.artist = artists[random() % 4],
                                                   .album = albums[random() % 3],
                                                   .title = titles[random() % 5],
                                                   .genre = i % 2 ? "Rock" : "ROCK",
                                                   .track = static_cast<int32_t>(random() % 4),
                                                   .path = path,
                                                   .fileName = titles[random() % 5]}));
    }
}

TEST(PlaylistOrdersAheadTest, GivesEachPlaylistTheEntriesOfSortsMadeOneAfterAnother)
{
    TrackCatalogue inTurn;
    TrackCatalogue ahead;
    FillWithTies(inTurn);
    FillWithTies(ahead);

    PlaylistOrdersAhead orders(ahead);
    for (PlaylistKind kind : PlaylistSet::kOrder) {
        const std::vector<OrderedEntry>* entries = orders.Next();
        ASSERT_NE(entries, nullptr);
        // The writing of this playlist sets the tracks' entry numbers while the next one sorts.
        for (const OrderedEntry& entry : *entries) entry.track->entryNumber = 1;
        EXPECT_EQ(ListingOf(*entries), ListingOf(inTurn.OrderedEntries(kind))) << static_cast<int>(kind);
    }
    EXPECT_EQ(orders.Next(), nullptr);
}

}  // namespace
