#pragma once

#include <cstddef>

// The guard against a clean-up that would empty its destination by mistake: a source that looks empty
// (a disk not mounted, an emptied folder, the wrong folder chosen) would have one run delete a whole
// collection. Before such a clean-up deletes anything, the person is asked (MassDeletionQuestion).
namespace trayhost {

// A destination of at least this many files is asked about when more than kMassDeletionShare of
// them would go; a smaller one only when every one of them would.
inline constexpr std::size_t kMassDeletionLeastFiles = 20;
inline constexpr double kMassDeletionShare = 0.5;

// Whether deleting that many of the destination's files (those the clean-up may delete at all) must
// be asked about first.
bool IsMassDeletion(std::size_t deletions, std::size_t files);

}  // namespace trayhost
