#include "trayhost/sync/syncrecordsort.h"

#include <array>
#include <utility>

namespace trayhost {

namespace {

using Records = std::vector<KeyedRecord>;

// The records from first up to, not including, end.
struct Range {
    std::size_t first = 0;
    std::size_t end = 0;

    std::size_t size() const { return end - first; }
};

// A key is its path with A-Z lower-cased outside double-byte characters: comparing keys byte by
// byte is comparing paths without regard to case, double-byte characters as units.
bool Before(const KeyedRecord& a, const KeyedRecord& b)
{
    return a.key < b.key;
}

void SelectionSort(Records& records, Range range)
{
    for (std::size_t last = range.end; last > range.first + 1; --last) {
        // The first of equal records stays where it is found; keys differ, so there are none.
        std::size_t largest = range.first;
        for (std::size_t i = range.first + 1; i < last; ++i) {
            if (Before(records[largest], records[i])) largest = i;
        }
        if (largest != last - 1) std::swap(records[largest], records[last - 1]);
    }
}

// Partitions around the middle record, swapped to the front first; returns where the pivot ends up.
std::size_t Partition(Records& records, Range range)
{
    std::swap(records[range.first], records[range.first + range.size() / 2]);
    std::size_t boundary = range.first;
    for (std::size_t i = range.first + 1; i < range.end; ++i) {
        if (Before(records[i], records[range.first])) std::swap(records[++boundary], records[i]);
    }
    std::swap(records[range.first], records[boundary]);
    return boundary;
}

}  // namespace

Records SortedRecords(const SyncRecordMap& map)
{
    Records records;
    records.reserve(map.size());
    for (const auto& [key, record] : map) records.push_back({key, record});
    SortSyncRecords(records);
    return records;
}

void SortSyncRecords(Records& records)
{
    // Each range that waits is larger than the one worked on next, which is therefore at most half
    // of the range they came from: 30 waiting ranges would take more records than memory holds.
    std::array<Range, kPendingRanges> pending;
    std::size_t waiting = 0;
    Range range{0, records.size()};
    for (;;) {
        if (range.size() <= kSelectionSortLimit) {
            SelectionSort(records, range);
            if (waiting == 0) return;
            range = pending[--waiting];
            continue;
        }
        const std::size_t pivot = Partition(records, range);
        Range larger{range.first, pivot};
        Range smaller{pivot + 1, range.end};
        if (larger.size() < smaller.size()) std::swap(larger, smaller);
        pending[waiting++] = larger;
        range = smaller;
    }
}

}  // namespace trayhost
