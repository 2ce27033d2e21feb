#pragma once

#include "platform/files.h"

#include <cstdint>
#include <cstdlib>

// Facts of the two file systems a sync run copies between.
namespace trayhost {

// The attributes a copy carries from one side to the other: hidden, system, archive, normal and
// temporary. Never read-only (a synchronised file stays writable for the next run) nor the folder bit.
inline constexpr uint32_t kAttributeTemporary = 0x100;
inline constexpr uint32_t kCarriedAttributes = platform::kAttributeHidden | platform::kAttributeSystem |
                                               platform::kAttributeArchive | platform::kAttributeNormal |
                                               kAttributeTemporary;
static_assert(kCarriedAttributes == 0x1A6);

// The player's disk is FAT32, which keeps last-write times in steps of 2 seconds: a copy's time is
// its original's rounded to a step.
inline constexpr int32_t kFatTimeStepSeconds = 2;

// Whether a file and its copy on the other side have the same last-write time, as far as the coarser
// of the two file systems can tell. A file compared with its own earlier record needs no allowance.
inline bool SameTimeOnBothSides(int32_t sourceTime, int32_t destinationTime)
{
    return std::abs(int64_t{sourceTime} - destinationTime) <= kFatTimeStepSeconds;
}

}  // namespace trayhost
