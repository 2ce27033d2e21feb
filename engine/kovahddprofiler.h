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
    kReportPlaylistTooLarge = 9,  // value: the playlist kind; its numbers would not fit the format
};

// The message the scan posts its progress with (WM_USER + 2).
inline constexpr uint32_t kProfileProgressMessage = 0x0400 + 2;

using KovaProgressCallback = void (*)(int32_t code, int32_t value);

// Runs a profile of the device: 1 done, 0 failed, -1 cancelled, -2 no audio files,
// -4 the device's contents changed during the scan, -5 file-system error.
KOVAHDD_API int32_t KOVAHDDProfilerSyncronize(char driveLetter, KovaProgressCallback callback, void* window);
KOVAHDD_API int32_t KOVAHDDProfilerSyncronize(const char* root, KovaProgressCallback callback, void* window);

extern "C" {

KOVAHDD_API void KOVAHDDProfilerCancelSyncronize();
KOVAHDD_API void KOVAHDDProfilerResetCancel();
KOVAHDD_API int32_t KOVAHDDProfilerGetFileExtension(char* path, char* extension);
KOVAHDD_API int32_t KOVAHDDIsDevicePresent(char* root);
KOVAHDD_API int32_t KOVAHDDGetNumFilesOnDevice(const char* root, int* count);
KOVAHDD_API int32_t KOVAHDDUpdateSystemFiles(char driveLetter, unsigned char model);
KOVAHDD_API int32_t KOVAHDDUpdateHelpFiles(char driveLetter);

}  // extern "C"
