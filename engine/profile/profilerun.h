#pragma once

#include "engine/kovahddprofiler.h"

#include <cstdint>

namespace engine {

enum RunResult : int32_t {
    kRunDone = 1,
    kRunFailed = 0,
    kRunCancelled = -1,
    kRunNoAudioFiles = -2,
    kRunEntriesChanged = -4,
    kRunFileSystemError = -5,  // also: the device could not write back the playlists (reported as code 8)
};

// A whole profile run: scan, the five playlists, the free-space file, the flush of the device's
// file system, and the cleanup. The tags of files unchanged since the device's last finished
// profile come from its tag cache, which a run that finishes replaces. Reports through the callback
// (may be null); the scan posts its progress to the window.
int32_t RunProfile(const char* root, KovaProgressCallback callback, void* window);

}  // namespace engine
