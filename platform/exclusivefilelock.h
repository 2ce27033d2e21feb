#pragma once

#include "platform/export.h"

#include <optional>
#include <string>

namespace platform {

// An flock held on a file (a Linux path) for as long as the object lives, by one process at a time
// of every process that takes it the same way; the file is made, private to the user, when missing.
// The lock goes with the process, so a killed holder never leaves it taken.
class KOVAPLATFORM_API ExclusiveFileLock {
public:
    // Empty when the lock cannot be had, with the last error set: kErrorSharingViolation when
    // another holds it, another code when the file cannot be made or opened. Never waits.
    static std::optional<ExclusiveFileLock> TryTake(const std::string& path);

    ExclusiveFileLock(ExclusiveFileLock&& other) noexcept;
    ExclusiveFileLock& operator=(ExclusiveFileLock&& other) noexcept;
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;
    ~ExclusiveFileLock();

private:
    explicit ExclusiveFileLock(int fd) : fd_(fd) {}

    int fd_ = -1;
};

}  // namespace platform
