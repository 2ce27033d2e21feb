#pragma once

#include "platform/files.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

// Facts of the two file systems a sync run copies between: the PC's, and the player's FAT32 disk.
// The device's rules hold whatever the host mounts the device with.
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

// The characters no FAT name holds (nor a Windows one), besides those below a space. Inside the
// system '?' is also a wildcard and '\' the separator, so no name holding them can be addressed.
inline constexpr std::string_view kCharactersFatForbids = "\"*/:<>?\\|";
inline constexpr std::string_view kCharactersNoPathHolds = "?\\";
inline constexpr unsigned char kFirstCharacterFatAllows = 0x20;

// The first character of the name that FAT forbids, each a character of its own in the system code
// page (not the trail byte of a double-byte character); none when it has none.
std::optional<char> CharacterFatForbids(std::string_view name);
// The same for the two characters no path inside the system can hold, on any disk.
std::optional<char> CharacterNoPathHolds(std::string_view name);
// FAT drops the dots and spaces that end a name, so such a name would be stored as another.
inline bool EndsAsFatDrops(std::string_view name)
{
    return !name.empty() && (name.back() == '.' || name.back() == ' ');
}

// FAT32 holds files of up to 4 GiB less one byte.
inline constexpr uint64_t kFat32LargestFile = 0xFFFFFFFF;
inline bool FitsOnFat32(uint64_t size)
{
    return size <= kFat32LargestFile;
}

}  // namespace trayhost
