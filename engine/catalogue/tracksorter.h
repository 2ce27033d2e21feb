#pragma once

#include "engine/catalogue/cataloguetrack.h"
#include "engine/catalogue/sortkey.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace engine {

// Ranges of up to this many records are sorted by repeated selection of the maximum, larger ones
// by a quicksort that hands its small ranges to the selection.
inline constexpr std::ptrdiff_t kSelectionSortLimit = 500;

// Sorts tracks in place by swapping positions. Neither pass is stable; the order of records with
// equal keys is the one the player's playlists have always had and must be kept exactly, so the
// steps below are fixed, not an implementation detail.
class TrackSorter {
public:
    // The tracks' text ranks must be set over a set of tracks that holds them all (RankSortTexts).
    TrackSorter(std::span<CatalogueTrack*> tracks, SortKey key);

    void Sort();

private:
    using Index = std::ptrdiff_t;

    struct Range {
        Index lo;
        Index hi;
    };

    // Where a partition left the pivot, and where the part above it starts.
    struct Split {
        Index pivot;
        Index upperStart;
    };

    // Finds the front-most maximum of a shrinking range of positions; a node holds the winner of
    // the positions below it (kNobody when it has none left) and the winner's key.
    class Tournament {
    public:
        Tournament(const TrackSorter& sorter, Index first, Index last);
        Index Winner() const { return nodes_[1].position; }
        // The record at the position changed: plays its matches again.
        void Replay(Index position);
        // The position left the range.
        void Remove(Index position);

    private:
        static constexpr Index kNobody = -1;
        struct Node {
            Index position = kNobody;
            int64_t key = 0;
        };
        void Decide(std::size_t node);
        std::size_t Leaf(Index position) const;

        const TrackSorter& sorter_;
        Index first_;
        std::size_t leaves_ = 1;
        std::vector<Node> nodes_;
    };

    // Ranges of fewer positions than this are scanned for their maximum.
    static constexpr Index kScannedRange = 32;

    void SelectionSort(Index first, Index last);
    void ScanningSelection(Index first, Index last);
    void QuickSort(Index first, Index last);
    // Partitions the range and narrows it to the part to sort next, pushing the other part; false
    // when neither part needs more sorting from here.
    bool SplitRange(Range& range, std::vector<Range>& pending);
    // Partitions lo..hi around its middle record, which is first moved to lo.
    Split Partition(Index lo, Index hi);
    int Compare(Index a, Index b) const;
    void Swap(Index a, Index b);

    std::span<CatalogueTrack*> tracks_;
    // Each position's key as a number (NumericSortKey), moved along with its track: a sort of
    // thousands of tracks with many equal keys makes millions of comparisons.
    std::vector<int64_t> keys_;
};

}  // namespace engine
