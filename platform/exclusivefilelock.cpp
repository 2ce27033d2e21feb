#include "platform/exclusivefilelock.h"

#include "platform/errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr mode_t kPrivateFileMode = 0600;

}  // namespace

std::optional<ExclusiveFileLock> ExclusiveFileLock::TryTake(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kPrivateFileMode);
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno));
        return std::nullopt;
    }
    int result = 0;
    while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result == 0) return ExclusiveFileLock(fd);
    SetLastError(errno == EWOULDBLOCK ? kErrorSharingViolation : ErrorFromErrno(errno));
    ::close(fd);
    return std::nullopt;
}

ExclusiveFileLock::ExclusiveFileLock(ExclusiveFileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

ExclusiveFileLock& ExclusiveFileLock::operator=(ExclusiveFileLock&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

ExclusiveFileLock::~ExclusiveFileLock()
{
    if (fd_ >= 0) ::close(fd_);  // releases the flock
}

}  // namespace platform
