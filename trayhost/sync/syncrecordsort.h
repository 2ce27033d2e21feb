#pragma once

#include "trayhost/sync/syncrecordmap.h"

#include <string>
#include <vector>

namespace trayhost {

// A record with the key of its map: its path lower-cased (SyncRecordMap::KeyOf).
struct KeyedRecord {
    std::string key;
    SyncFileRecord record;
};

// The records of a map, sorted (SortSyncRecords).
std::vector<KeyedRecord> SortedRecords(const SyncRecordMap& map);

// Sorts records by path, without regard to letter case and with double-byte characters of the
// system code page as units (platform::CompareNoCase), which is the byte order of their keys; a
// folder comes before everything inside it. Records of one map have different keys, so the order
// is fully determined.
//
// Lists of more than kSelectionSortLimit records are split by an iterative quicksort (the middle
// record as pivot; the larger part waits on a stack of at most kPendingRanges ranges while the
// smaller part is worked on); ranges of up to kSelectionSortLimit records are finished by selection
// sort, which moves the largest remaining record to the end of the range.
void SortSyncRecords(std::vector<KeyedRecord>& records);

inline constexpr std::size_t kSelectionSortLimit = 500;
inline constexpr std::size_t kPendingRanges = 30;

}  // namespace trayhost
