#pragma once

#include "trayhost/sync/syncrecordmap.h"

#include <vector>

namespace trayhost {

// Sorts records by path, without regard to letter case and with double-byte characters of the
// system code page as units; a folder comes before everything inside it. Records of one map have
// different keys, so the order is fully determined.
//
// Lists of more than kSelectionSortLimit records are split by an iterative quicksort (the middle
// record as pivot; the larger part waits on a stack of at most kPendingRanges ranges while the
// smaller part is worked on); ranges of up to kSelectionSortLimit records are finished by selection
// sort, which moves the largest remaining record to the end of the range.
void SortSyncRecords(std::vector<SyncFileRecord>& records);

inline constexpr std::size_t kSelectionSortLimit = 500;
inline constexpr std::size_t kPendingRanges = 30;

}  // namespace trayhost
