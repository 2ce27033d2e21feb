#include "engine/catalogue/trackcatalogue.h"
#include "engine/catalogue/trackcomparison.h"
#include "engine/catalogue/tracksorter.h"
#include "engine/catalogue/tests/trackbuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using engine::CatalogueTrack;
using engine::SortKey;

// Records identified by their file names "0", "1", ... in their starting positions, so that the
// order of equal keys can be read back.
class TrackSorterTest : public ::testing::Test {
protected:
    void AddTitles(const std::vector<std::string>& titles)
    {
        for (const std::string& title : titles) {
            const std::string id = std::to_string(tracks_.size());
            Add({.title = title, .fileName = id});
        }
    }

    void AddEqualTitles(int count, const std::string& title)
    {
        AddTitles(std::vector<std::string>(static_cast<std::size_t>(count), title));
    }

    void Add(const testsupport::TrackSpec& tags) { tracks_.push_back(&catalogue_.AppendTrack(testsupport::MakeTrack(tags))); }

    void Sort(SortKey key)
    {
        engine::RankSortTexts(tracks_);
        engine::TrackSorter(tracks_, key).Sort();
    }

    std::vector<int> StartingPositions() const
    {
        std::vector<int> positions;
        for (const CatalogueTrack* track : tracks_) positions.push_back(std::stoi(std::string(track->fileName)));
        return positions;
    }

    void ExpectSortedBy(SortKey key) const
    {
        for (std::size_t i = 1; i < tracks_.size(); ++i) {
            ASSERT_LE(engine::CompareTracks(*tracks_[i - 1], *tracks_[i], key), 0) << "at position " << i;
        }
    }

    engine::TrackCatalogue catalogue_;
    std::vector<CatalogueTrack*> tracks_;  // sorted here, not in the catalogue's own list
};

// first..last, both included.
std::vector<int> Positions(int first, int last)
{
    std::vector<int> positions(static_cast<std::size_t>(last - first + 1));
    std::iota(positions.begin(), positions.end(), first);
    return positions;
}

std::vector<int> Concatenate(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(TrackSorterTest, SelectionMovesTheFrontMostOfEqualMaximaToTheBack)
{
    AddTitles({"b", "a", "B", "a", "b"});
    Sort(SortKey::Title);
    EXPECT_EQ(StartingPositions(), (std::vector<int>{1, 3, 2, 4, 0}));
}

TEST_F(TrackSorterTest, FiveHundredEqualRecordsAreRotatedBySelection)
{
    AddEqualTitles(500, "Same");
    Sort(SortKey::Title);
    EXPECT_EQ(StartingPositions(), Concatenate({Positions(1, 499), {0}}));
}

TEST_F(TrackSorterTest, FiveHundredOneEqualRecordsOnlyExchangeTheMiddleByQuicksort)
{
    AddEqualTitles(501, "Same");
    Sort(SortKey::Title);
    EXPECT_EQ(StartingPositions(), Concatenate({{250}, Positions(1, 249), {0}, Positions(251, 500)}));
}

// The middle record is the pivot; the lower part of 500 records then goes to the selection.
TEST_F(TrackSorterTest, QuicksortHandsItsLowerPartToTheSelection)
{
    AddEqualTitles(250, "a");
    AddTitles({"b"});
    AddEqualTitles(250, "a");
    Sort(SortKey::Title);
    EXPECT_EQ(StartingPositions(),
              Concatenate({Positions(1, 249), {0}, Positions(251, 499), {500}, {250}}));
}

TEST_F(TrackSorterTest, QuicksortSwapsAcrossThePivot)
{
    AddTitles({"m", "z"});
    AddEqualTitles(498, "m");
    AddTitles({"a"});
    Sort(SortKey::Title);
    EXPECT_EQ(StartingPositions(),
              Concatenate({{500, 250}, Positions(2, 249), {0}, Positions(251, 499), {1}}));
}

TEST_F(TrackSorterTest, NumbersCompareNumerically)
{
    for (int32_t track : {10, 9, engine::kNoTrackNumber, 2, 0}) Add({.title = "t", .track = track});
    Sort(SortKey::TrackNumber);
    std::vector<int32_t> tracks;
    for (const CatalogueTrack* track : tracks_) tracks.push_back(track->trackNumber);
    EXPECT_EQ(tracks, (std::vector<int32_t>{0, 2, 9, 10, engine::kNoTrackNumber}));
}

TEST_F(TrackSorterTest, KeysWithoutFieldTreatAllAsEqual)
{
    AddTitles({"c", "a", "b"});
    Sort(SortKey::NoneA);
    EXPECT_EQ(StartingPositions(), (std::vector<int>{1, 2, 0}));
}

class LargeSortTest : public TrackSorterTest, public ::testing::WithParamInterface<int> {};

// Many duplicates and case variants drive the quicksort through deep stacks of ranges.
TEST_P(LargeSortTest, ResultIsAnOrderedPermutation)
{
    std::mt19937 random(42);
    std::vector<std::string> titles;
    for (int i = 0; i < GetParam(); ++i) {
        std::string title = "Song " + std::to_string(random() % 700);
        if (random() % 2) std::transform(title.begin(), title.end(), title.begin(), ::toupper);
        titles.push_back(title);
    }
    AddTitles(titles);
    Sort(SortKey::Title);
    ExpectSortedBy(SortKey::Title);
    std::vector<int> positions = StartingPositions();
    std::sort(positions.begin(), positions.end());
    EXPECT_EQ(positions, Positions(0, GetParam() - 1));
}

INSTANTIATE_TEST_SUITE_P(Sizes, LargeSortTest, ::testing::Values(0, 1, 499, 502, 1001, 6000));

TEST(CatalogueSortTest, SortsOnlyTheGivenRange)
{
    engine::TrackCatalogue catalogue;
    for (const char* title : {"d", "c", "b", "a"}) catalogue.AppendTrack(testsupport::MakeTrack({.title = title}));
    catalogue.SortTracks(1, 2, SortKey::Title);
    catalogue.SortTracks(2, 4, SortKey::Title);  // past the end: ignored
    std::string order;
    for (std::size_t i = 0; i < catalogue.TrackCount(); ++i) order += catalogue.Track(i).title;
    EXPECT_EQ(order, "dbca");
}

}  // namespace

namespace {

// The selection pass written as the plain scan: the leftmost maximum of first..last goes to last.
void ScanningSelection(std::vector<CatalogueTrack*>& tracks, SortKey key)
{
    for (std::size_t last = tracks.size(); last-- > 1;) {
        std::size_t maximum = 0;
        for (std::size_t i = 1; i <= last; ++i) {
            if (engine::CompareTracks(*tracks[i], *tracks[maximum], key) > 0) maximum = i;
        }
        std::swap(tracks[maximum], tracks[last]);
    }
}

// The tournament must choose exactly what the scan chooses at every step, or equal titles would
// come out in another order than the player's playlists have always had.
TEST_F(TrackSorterTest, SelectionByTournamentPlacesEqualKeysAsTheScanDoes)
{
    std::mt19937 random(7);
    for (int count : {2, 3, 17, 64, 255, 500}) {
        tracks_.clear();
        std::uniform_int_distribution<int> fewTitles(0, count / 4 + 1);
        for (int i = 0; i < count; ++i) AddTitles({(fewTitles(random) % 2 ? "Song " : "song ") + std::to_string(fewTitles(random))});
        std::vector<CatalogueTrack*> expected = tracks_;
        ScanningSelection(expected, SortKey::Title);

        Sort(SortKey::Title);
        for (std::size_t i = 0; i < tracks_.size(); ++i) {
            ASSERT_EQ(tracks_[i], expected[i]) << count << " records, position " << i;
        }
    }
}

}  // namespace
