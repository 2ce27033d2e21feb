#pragma once

#include <cstdint>

namespace trayhost {

// Results of the check of one user playlist, and of the walk over the user playlist folder, which
// stops at the first check that ends in anything but Done or FileError.
enum class VerifyResult : int32_t {
    Done = 1,         // checked, and rewritten if needed; for the walk, every playlist done
    Failed = 0,       // a path is missing, or the playlist does not fit in memory
    Cancelled = -1,
    DeviceGone = -2,
    Exception = -3,   // a file failed while the device was still there
    FileError = -5,   // the playlist cannot be read, or its new content not written: it is as it was
};

}  // namespace trayhost
