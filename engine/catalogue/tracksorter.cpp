#include "engine/catalogue/tracksorter.h"

#include "engine/catalogue/trackcomparison.h"

#include <utility>

namespace engine {

TrackSorter::TrackSorter(std::span<std::unique_ptr<TrackRecord>> records, SortKey key)
    : records_(records), key_(key)
{
}

void TrackSorter::Sort()
{
    const auto count = static_cast<Index>(records_.size());
    if (count <= kSelectionSortLimit) {
        SelectionSort(0, count - 1);
    } else {
        QuickSort(0, count - 1);
    }
}

// Moves the maximum of first..last to last and shrinks the range. Among equal maxima the one
// nearest the front is taken.
void TrackSorter::SelectionSort(Index first, Index last)
{
    while (last > first) {
        Index maximum = first;
        for (Index i = first + 1; i <= last; ++i) {
            if (Compare(i, maximum) > 0) maximum = i;
        }
        Swap(maximum, last);
        --last;
    }
}

// The larger part of every partition waits on the stack and the smaller one is sorted next, so
// the stack never holds more than log2(n) ranges.
void TrackSorter::QuickSort(Index first, Index last)
{
    std::vector<Range> pending;
    Range range{first, last};
    for (;;) {
        if (range.hi - range.lo + 1 <= kSelectionSortLimit) {
            SelectionSort(range.lo, range.hi);
        } else if (SplitRange(range, pending)) {
            continue;
        }
        if (pending.empty()) return;
        range = pending.back();
        pending.pop_back();
    }
}

bool TrackSorter::SplitRange(Range& range, std::vector<Range>& pending)
{
    const auto [j, i] = Partition(range.lo, range.hi);
    const Range lower{range.lo, j - 1};
    const Range upper{i, range.hi};
    const bool lowerNeedsSort = lower.lo < lower.hi;
    const bool upperNeedsSort = upper.lo < upper.hi;
    if (lower.hi - lower.lo >= upper.hi - upper.lo) {
        if (lowerNeedsSort) pending.push_back(lower);
        range = upper;
        return upperNeedsSort;
    }
    if (upperNeedsSort) pending.push_back(upper);
    range = lower;
    return lowerNeedsSort;
}

TrackSorter::Split TrackSorter::Partition(Index lo, Index hi)
{
    Swap(lo + (hi - lo + 1) / 2, lo);
    Index i = lo;
    Index j = hi + 1;
    for (;;) {
        do {
            ++i;
        } while (i <= hi && Compare(i, lo) <= 0);
        do {
            --j;
        } while (j > lo && Compare(j, lo) >= 0);
        if (j < i) break;
        Swap(i, j);
    }
    Swap(lo, j);
    return {j, i};
}

int TrackSorter::Compare(Index a, Index b) const
{
    return CompareTracks(*records_[static_cast<std::size_t>(a)], *records_[static_cast<std::size_t>(b)], key_);
}

void TrackSorter::Swap(Index a, Index b)
{
    std::swap(records_[static_cast<std::size_t>(a)], records_[static_cast<std::size_t>(b)]);
}

}  // namespace engine
