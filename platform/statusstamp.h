#pragma once

#include "platform/files.h"

#include <sys/stat.h>

// Inside the platform library only: the stamp that a file's status gives.
namespace platform {

inline constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;

inline FileStamp StampOf(const struct stat& status)
{
    return {static_cast<uint64_t>(status.st_size),
            int64_t{status.st_mtim.tv_sec} * kNanosecondsPerSecond + status.st_mtim.tv_nsec};
}

}  // namespace platform
