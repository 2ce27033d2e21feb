#pragma once

#include "engine/kovahddprofiler.h"

#include <cstdint>
#include <optional>
#include <string>

namespace trayhost {

// Results of a profile run as the tray program tells them apart; every other value is a finished run.
inline constexpr int32_t kProfileRunFailed = 0;
inline constexpr int32_t kProfileRunCancelled = -1;

// Results of the help and system file updates.
inline constexpr int32_t kUpdateDone = 1;
inline constexpr int32_t kUpdateDeviceFilesNewer = 2;  // system files only: the device holds newer ones

// The profiler engine's calls that the tray program makes. The program uses the engine library
// (LibraryProfilerEngine); tests script a slow, stuck or failing engine.
class ProfilerEngine {
public:
    virtual ~ProfilerEngine() = default;

    // A profile run of the device at the drive letter, on the calling thread. Reports go to the
    // callback; the scan's progress is posted to the window as message 1026.
    virtual int32_t Synchronize(char driveLetter, KovaProgressCallback callback, void* window) = 0;
    // Asks a running profile to stop; called from another thread than the run's.
    virtual void CancelSynchronize() = 0;
    // 1 when all help files were handled.
    virtual int32_t UpdateHelpFiles(char driveLetter) = 0;
    // 1 updated, 2 the device holds newer system files, anything else an error.
    virtual int32_t UpdateSystemFiles(char driveLetter, uint8_t model) = 0;
    // What the last profile run left for the player (KovaRunSummary).
    virtual KovaRunSummary RunSummary() = 0;
    // True while the device root ("E:" or "E:\") can be listed and its free space read.
    virtual bool IsDevicePresent(const std::string& root) = 0;
    // What follows the path's last dot, as written; empty when the path has no dot.
    virtual std::optional<std::string> GetFileExtension(const std::string& path) = 0;
};

}  // namespace trayhost
