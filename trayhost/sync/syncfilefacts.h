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

// FAT keeps local times, not UTC: after a change of daylight saving time, or when the disk is mounted
// with another time zone, every file on it reads this much older or newer than it did. A file whose
// time moved by exactly this much and whose size stayed is the same file, as synchronisation tools
// for FAT disks take it (an edit that keeps the size and lands exactly an hour later is missed).
inline constexpr int32_t kDaylightSavingShiftSeconds = 3600;

// The two times are one daylight saving shift apart, within FAT's 2-second steps.
inline bool ApartByDaylightSaving(int32_t time, int32_t otherTime)
{
    const int64_t apart = std::abs(int64_t{time} - otherTime);
    return std::abs(apart - kDaylightSavingShiftSeconds) <= kFatTimeStepSeconds;
}

// Whether a file and its copy on the other side, of the same size, have the same last-write time, as
// far as the coarser of the two file systems can tell, or one daylight saving shift apart.
inline bool SameTimeOnBothSides(int32_t sourceTime, int32_t destinationTime)
{
    return std::abs(int64_t{sourceTime} - destinationTime) <= kFatTimeStepSeconds ||
           ApartByDaylightSaving(sourceTime, destinationTime);
}

// Whether a file is as its record of the last run says: the same size and time exactly, or the same
// size with the time one daylight saving shift away.
inline bool UnchangedSinceRecord(int32_t time, uint32_t size, int32_t recordTime, uint32_t recordSize)
{
    return size == recordSize && (time == recordTime || ApartByDaylightSaving(time, recordTime));
}

}  // namespace trayhost
