#include "engine/catalogue/tracksorter.h"

#include "engine/catalogue/trackcomparison.h"

#include <algorithm>
#include <utility>

namespace engine {

namespace {

std::vector<int64_t> NumericKeys(std::span<CatalogueTrack* const> tracks, SortKey key)
{
    std::vector<int64_t> keys(tracks.size());
    std::transform(tracks.begin(), tracks.end(), keys.begin(),
                   [key](const CatalogueTrack* track) { return NumericSortKey(*track, key); });
    return keys;
}

}  // namespace

TrackSorter::TrackSorter(std::span<CatalogueTrack*> tracks, SortKey key)
    : tracks_(tracks), keys_(NumericKeys(tracks, key))
{
}

void TrackSorter::Sort()
{
    const auto count = static_cast<Index>(tracks_.size());
    if (count <= kSelectionSortLimit) {
        SelectionSort(0, count - 1);
    } else {
        QuickSort(0, count - 1);
    }
}

// Moves the maximum of first..last to last and shrinks the range. Among equal maxima the one
// nearest the front is taken. In a long range the maximum is found with a tournament over the
// positions rather than a scan of the range: the same choice at every step, with log(n) comparisons
// instead of n; a short range is scanned, which costs less than setting up the tournament.
void TrackSorter::SelectionSort(Index first, Index last)
{
    if (last - first < kScannedRange) {
        ScanningSelection(first, last);
        return;
    }
    Tournament tournament(*this, first, last);
    while (last > first) {
        const Index maximum = tournament.Winner();
        if (maximum != last) {
            Swap(maximum, last);
            tournament.Replay(maximum);
        }
        tournament.Remove(last);
        --last;
    }
}

void TrackSorter::ScanningSelection(Index first, Index last)
{
    for (; last > first; --last) {
        Index maximum = first;
        for (Index position = first + 1; position <= last; ++position) {
            if (Compare(position, maximum) > 0) maximum = position;
        }
        Swap(maximum, last);
    }
}

TrackSorter::Tournament::Tournament(const TrackSorter& sorter, Index first, Index last)
    : sorter_(sorter), first_(first)
{
    while (leaves_ < static_cast<std::size_t>(last - first + 1)) leaves_ *= 2;
    nodes_.resize(2 * leaves_);
    for (Index position = first; position <= last; ++position) {
        nodes_[Leaf(position)] = {position, sorter_.keys_[static_cast<std::size_t>(position)]};
    }
    for (std::size_t node = leaves_ - 1; node >= 1; --node) Decide(node);
}

void TrackSorter::Tournament::Replay(Index position)
{
    const std::size_t leaf = Leaf(position);
    nodes_[leaf].key = sorter_.keys_[static_cast<std::size_t>(position)];
    for (std::size_t node = leaf / 2; node >= 1; node /= 2) Decide(node);
}

void TrackSorter::Tournament::Remove(Index position)
{
    const std::size_t leaf = Leaf(position);
    nodes_[leaf].position = kNobody;
    for (std::size_t node = leaf / 2; node >= 1; node /= 2) Decide(node);
}

// The left side holds the lower positions, so it keeps a tie: the front-most maximum wins.
void TrackSorter::Tournament::Decide(std::size_t node)
{
    const Node& left = nodes_[2 * node];
    const Node& right = nodes_[2 * node + 1];
    const bool rightWins = left.position == kNobody || (right.position != kNobody && right.key > left.key);
    nodes_[node] = rightWins ? right : left;
}

std::size_t TrackSorter::Tournament::Leaf(Index position) const
{
    return leaves_ + static_cast<std::size_t>(position - first_);
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
    const int64_t keyA = keys_[static_cast<std::size_t>(a)];
    const int64_t keyB = keys_[static_cast<std::size_t>(b)];
    return (keyA > keyB) - (keyA < keyB);
}

void TrackSorter::Swap(Index a, Index b)
{
    std::swap(tracks_[static_cast<std::size_t>(a)], tracks_[static_cast<std::size_t>(b)]);
    std::swap(keys_[static_cast<std::size_t>(a)], keys_[static_cast<std::size_t>(b)]);
}

}  // namespace engine
