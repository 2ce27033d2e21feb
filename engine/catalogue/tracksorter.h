#pragma once

#include "engine/catalogue/sortkey.h"
#include "engine/catalogue/trackrecord.h"

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace engine {

// Ranges of up to this many records are sorted by repeated selection of the maximum, larger ones
// by a quicksort that hands its small ranges to the selection.
inline constexpr std::ptrdiff_t kSelectionSortLimit = 500;

// Sorts records in place by swapping positions. Neither pass is stable; the order of records with
// equal keys is the one the player's playlists have always had and must be kept exactly, so the
// steps below are fixed, not an implementation detail.
class TrackSorter {
public:
    TrackSorter(std::span<std::unique_ptr<TrackRecord>> records, SortKey key);

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

    void SelectionSort(Index first, Index last);
    void QuickSort(Index first, Index last);
    // Partitions the range and narrows it to the part to sort next, pushing the other part; false
    // when neither part needs more sorting from here.
    bool SplitRange(Range& range, std::vector<Range>& pending);
    // Partitions lo..hi around its middle record, which is first moved to lo.
    Split Partition(Index lo, Index hi);
    int Compare(Index a, Index b) const;
    void Swap(Index a, Index b);

    std::span<std::unique_ptr<TrackRecord>> records_;
    SortKey key_;
};

}  // namespace engine
