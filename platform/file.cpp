#include "platform/files.h"

#include "platform/dosattributes.h"
#include "platform/errors.h"
#include "platform/pathresolver.h"
#include "platform/statusstamp.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

int AccessFlags(File::Mode mode)
{
    switch (mode) {
    case File::Mode::Read: return O_RDONLY;
    case File::Mode::ReadWrite: return O_RDWR;
    case File::Mode::Write: return O_WRONLY;
    case File::Mode::CreateTruncate: return O_RDWR | O_CREAT | O_TRUNC;
    }
    return O_RDONLY;
}

// A device is hostile input. Opening never waits (a FIFO would block the open until a writer
// came), and a file is never written through a link at its name, which may point anywhere on
// the computer.
int OpenFlags(File::Mode mode)
{
    const int noWriteThroughLink = mode == File::Mode::Read ? 0 : O_NOFOLLOW;
    return AccessFlags(mode) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | noWriteThroughLink;
}

// Only a regular file is a file: a FIFO, a socket or a device node is refused as Windows refuses a
// folder. Keeps the descriptor when it is one and gives its stamp; closes it otherwise. O_NONBLOCK
// stays set: it has no effect on a regular file's reads and writes, and clearing it would cost
// every open of a walk of thousands of songs two more system calls.
std::optional<FileStamp> KeepRegularFile(int fd)
{
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    return StampOf(status);
}

int Whence(File::Origin origin)
{
    switch (origin) {
    case File::Origin::Begin: return SEEK_SET;
    case File::Origin::Current: return SEEK_CUR;
    case File::Origin::End: return SEEK_END;
    }
    return SEEK_SET;
}

// Windows opens neither a folder as a file nor a read-only file for writing (even for root).
uint32_t OpenRefusal(const std::string& linuxPath, File::Mode mode)
{
    struct stat status {};
    if (stat(linuxPath.c_str(), &status) != 0) return kErrorSuccess;
    if (S_ISDIR(status.st_mode)) return kErrorAccessDenied;
    const bool writing = mode != File::Mode::Read;
    if (writing && (ReadDosAttributes(linuxPath, status) & kAttributeReadOnly) != 0) return kErrorAccessDenied;
    return kErrorSuccess;
}

// Every failing platform call leaves its code as the thread's last error, throwing ones too.
[[noreturn]] void Throw(uint32_t code, const std::string& path)
{
    SetLastError(code);
    throw FileError(code, path);
}

}  // namespace

File File::Open(const std::string& path, Mode mode)
{
    uint32_t error = kErrorSuccess;
    std::optional<File> file = TryOpen(path, mode, &error);
    if (!file) Throw(error, path);
    return std::move(*file);
}

std::optional<File> File::TryOpen(const std::string& path, Mode mode, uint32_t* error)
{
    const auto fail = [&](uint32_t code) -> std::optional<File> {
        SetLastError(code);
        if (error) *error = code;
        return std::nullopt;
    };
    if (mode == Mode::Read) {
        // Reading creates nothing, so the caller's spelling can be tried before any lookup.
        if (std::optional<File> file = OpenSpelledForReading(path)) {
            if (error) *error = kErrorSuccess;
            return file;
        }
    }
    const ResolvedPath resolved = ResolvePath(path);
    if (resolved.error != kErrorSuccess) return fail(resolved.error);
    if (const uint32_t refusal = OpenRefusal(resolved.linuxPath, mode)) return fail(refusal);
    const int fd = open(resolved.linuxPath.c_str(), OpenFlags(mode), kNewFileMode);
    if (fd < 0) return fail(errno == ELOOP ? kErrorAccessDenied : ErrorForPath(errno, resolved.linuxPath));
    const std::optional<FileStamp> stamp = KeepRegularFile(fd);
    if (!stamp) return fail(kErrorAccessDenied);
    if (error) *error = kErrorSuccess;
    return File(fd, path, *stamp);
}

std::optional<File> File::OpenSpelledForReading(const std::string& path)
{
    const ResolvedPath spelled = SpelledPath(path);
    if (spelled.error != kErrorSuccess) return std::nullopt;
    const int fd = open(spelled.linuxPath.c_str(), OpenFlags(Mode::Read));
    if (fd < 0) return std::nullopt;
    const std::optional<FileStamp> stamp = KeepRegularFile(fd);
    if (!stamp) return std::nullopt;
    return File(fd, path, *stamp);
}

std::optional<File> File::OpenInFolder(int folderFd, const std::string& name, const std::string& path)
{
    const int fd = openat(folderFd, name.c_str(), OpenFlags(Mode::Read));
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno));
        return std::nullopt;
    }
    const std::optional<FileStamp> stamp = KeepRegularFile(fd);
    if (!stamp) {
        SetLastError(kErrorAccessDenied);
        return std::nullopt;
    }
    return File(fd, path, *stamp);
}

File::File(int fd, std::string path, const FileStamp& stampWhenOpened)
    : fd_(fd), path_(std::move(path)), stampWhenOpened_(stampWhenOpened)
{
}

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)), stampWhenOpened_(other.stampWhenOpened_)
{
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        stampWhenOpened_ = other.stampWhenOpened_;
    }
    return *this;
}

File::~File()
{
    if (fd_ >= 0) close(fd_);
}

std::size_t File::Read(void* buffer, std::size_t size)
{
    if (fd_ < 0) Throw(kErrorInvalidHandle, path_);
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(fd_, bytes + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Throw(ErrorFromErrno(errno), path_);
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t File::ReadAt(uint64_t offset, void* buffer, std::size_t size)
{
    if (fd_ < 0) Throw(kErrorInvalidHandle, path_);
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Throw(ErrorFromErrno(errno), path_);
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void File::Write(const void* data, std::size_t size)
{
    if (fd_ < 0) Throw(kErrorInvalidHandle, path_);
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = write(fd_, bytes + done, size - done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) Throw(ErrorFromErrno(errno), path_);
        // A regular file accepts at least one byte or fails; nothing written means no room.
        if (put == 0) Throw(kErrorDiskFull, path_);
        done += static_cast<std::size_t>(put);
    }
}

uint64_t File::Seek(int64_t offset, Origin origin)
{
    if (fd_ < 0) Throw(kErrorInvalidHandle, path_);
    const off_t position = lseek(fd_, static_cast<off_t>(offset), Whence(origin));
    if (position < 0) Throw(ErrorFromErrno(errno), path_);
    return static_cast<uint64_t>(position);
}

uint64_t File::Length() const
{
    if (fd_ < 0) Throw(kErrorInvalidHandle, path_);
    struct stat status {};
    if (fstat(fd_, &status) != 0) Throw(ErrorFromErrno(errno), path_);
    return static_cast<uint64_t>(status.st_size);
}

void File::Sync()
{
    if (fd_ < 0) Throw(kErrorInvalidHandle, path_);
    if (fsync(fd_) != 0 && errno != EINVAL) Throw(ErrorFromErrno(errno), path_);
}

void File::Close()
{
    if (fd_ < 0) return;
    // The descriptor is gone after close(2) even when it reports an error.
    if (close(std::exchange(fd_, -1)) != 0 && errno != EINTR) Throw(ErrorFromErrno(errno), path_);
}

}  // namespace platform
