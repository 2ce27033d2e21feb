#pragma once

#include <cstdint>

// The exported interface of libKOVAHDDProfiler.so. Texts are 8-bit, in the system code page;
// paths are Windows-style ("E:\Music\a.mp3") and resolved through the drive map.

#define KOVAHDD_API __attribute__((visibility("default")))

// Report codes of a profile run, given to the progress callback (and code 7 posted as message 1026).
enum KovaReportCode : int32_t {
    kReportScanStarted = 1,
    kReportPlaylistsStarted = 2,
    kReportProfileFinished = 3,
    kReportProfileCancelled = 4,
    kReportNoAudioFiles = 5,
    kReportConnectionFailed = 6,  // never sent by the engine; the caller's own for a result of 0
    kReportScanProgress = 7,      // value: address of two int32_t, entries visited then total
    kReportDeviceLost = 8,
    kReportPlaylistNotWritten = 9,  // value: PlaylistReportValue, the playlist kind and why; once per playlist
};

// Why a playlist of a finished run was not put on the device (report code 9). The device keeps its
// previous playlist in every case.
enum KovaPlaylistProblem : int32_t {
    kPlaylistTooLargeForPlayer = 0,  // its numbers would not fit the format (more than 9999 entries)
    kPlaylistDeviceFull = 1,
    kPlaylistDeviceGone = 2,         // the device went away while the playlists were written
    kPlaylistWriteFailed = 3,        // any other file error
    kPlaylistHeldBack = 4,           // complete, but another playlist was not: the five replace the
                                     // previous ones together or not at all, so the player's set stays one
};

// The value of a code 9 report: the playlist kind (0 artist, 1 album, 2 title, 3 genre, 5 audio
// files) in the low byte, the problem above it. An oversized playlist's value is its kind alone.
inline constexpr int32_t PlaylistReportValue(int32_t kind, KovaPlaylistProblem problem)
{
    return kind | (problem << 8);
}
inline constexpr int32_t PlaylistKindOfReport(int32_t value)
{
    return value & 0xFF;
}
inline constexpr KovaPlaylistProblem PlaylistProblemOfReport(int32_t value)
{
    return static_cast<KovaPlaylistProblem>(value >> 8);
}

// What the last profile run left for the player to show, for a summary; filled by
// KOVAHDDProfilerGetRunSummary. Zero counts after a run that did not write its playlists.
inline constexpr int kKovaSummaryNames = 5;
inline constexpr int kKovaSummaryNameSize = 1024;
struct KovaRunSummary {
    int32_t tracks;
    int32_t artists;
    int32_t albums;
    int32_t genres;
    int32_t playlistsWritten;  // one bit, 1 << kind, for each playlist put on the device
    // Audio files whose names hold characters outside the system code page: they stand as '?' in
    // the playlists, so the player cannot address them. The first kKovaSummaryNames of them follow,
    // as device paths spelled as the file system spells them (UTF-8, for showing to the user).
    int32_t unaddressableFiles;
    char unaddressableNames[kKovaSummaryNames][kKovaSummaryNameSize];
};

// The message the scan posts its progress with (WM_USER + 2).
inline constexpr uint32_t kProfileProgressMessage = 0x0400 + 2;

using KovaProgressCallback = void (*)(int32_t code, int32_t value);

// Runs a profile of the device: 1 done, 0 failed, -1 cancelled, -2 no audio files,
// -4 the device's contents changed during the scan, -5 file-system error (also a device that could
// not write back the playlists, reported as code 8). "Done" comes once they are on the device.
KOVAHDD_API int32_t KOVAHDDProfilerSyncronize(char driveLetter, KovaProgressCallback callback, void* window);
KOVAHDD_API int32_t KOVAHDDProfilerSyncronize(const char* root, KovaProgressCallback callback, void* window);

extern "C" {

KOVAHDD_API void KOVAHDDProfilerCancelSyncronize();
KOVAHDD_API void KOVAHDDProfilerResetCancel();
KOVAHDD_API int32_t KOVAHDDProfilerGetFileExtension(char* path, char* extension);
KOVAHDD_API int32_t KOVAHDDIsDevicePresent(char* root);
KOVAHDD_API int32_t KOVAHDDGetNumFilesOnDevice(const char* root, int* count);
// Both write back the device's file system before they return; one that cannot counts as a failed
// copy (0).
KOVAHDD_API int32_t KOVAHDDUpdateSystemFiles(char driveLetter, unsigned char model);
KOVAHDD_API int32_t KOVAHDDUpdateHelpFiles(char driveLetter);
// Copies the summary of the last profile run into the caller's record: 1, or 0 for a null record.
KOVAHDD_API int32_t KOVAHDDProfilerGetRunSummary(KovaRunSummary* summary);

// The tag cache. A profile that finishes keeps what the tag readers gave for each audio file of the
// device, with the file's size and last-write time, in $XDG_CACHE_HOME/kovahdd/ (one file per
// device, named after its volume's serial number, or after a hash of its directory for a folder
// that acts as a device). The next profile of the device reads only the files that are new or whose
// size or time changed, and leaves the playlists on the device when they are the very files it
// would write; the playlists are always those a profile of every file writes. 1 (the default)
// profiles the following runs of this process so; 0 makes them read every file, write every
// playlist and write the cache anew, for files changed without a change of size or time (tag
// editors told to keep a file's time).
KOVAHDD_API void KOVAHDDProfilerUseTagCache(int32_t use);

}  // extern "C"
