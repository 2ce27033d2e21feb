#include "platform/linuxfiles.h"

#include "platform/errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr std::string_view kTemporarySuffix = ".XXXXXX";
constexpr std::size_t kReadBlockSize = 64 * 1024;

uint32_t LastErrnoError()
{
    return ErrorFromErrno(errno);
}

uint32_t WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written == 0 ? kErrorDiskFull : LastErrnoError();
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return kErrorSuccess;
}

// Makes the rename itself survive a crash.
void SyncFolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

uint32_t ReadWholeLinuxFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return LastErrnoError();
    struct stat status {};
    if (::fstat(fd, &status) == 0 && status.st_size > 0) bytes.reserve(static_cast<std::size_t>(status.st_size));
    std::vector<char> block(kReadBlockSize);
    uint32_t error = kErrorSuccess;
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = LastErrnoError();
        if (got <= 0) break;
        bytes.append(block.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    return error;
}

uint32_t ReplaceWholeLinuxFile(const std::string& path, std::string_view bytes, ReplaceFlush flush)
{
    return ReplaceWholeLinuxFile(path, std::span(&bytes, 1), flush);
}

uint32_t ReplaceWholeLinuxFile(const std::string& path, std::span<const std::string_view> pieces, ReplaceFlush flush)
{
    std::string temporary = path + std::string(kTemporarySuffix);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return LastErrnoError();
    const bool flushed = flush == ReplaceFlush::BeforeRename;
    uint32_t error = kErrorSuccess;
    for (std::size_t i = 0; i < pieces.size() && error == kErrorSuccess; ++i) error = WriteAll(fd, pieces[i]);
    if (error == kErrorSuccess && flushed && ::fsync(fd) != 0) error = LastErrnoError();
    if (::close(fd) != 0 && error == kErrorSuccess) error = LastErrnoError();
    if (error == kErrorSuccess && ::rename(temporary.c_str(), path.c_str()) != 0) error = LastErrnoError();
    if (error != kErrorSuccess) {
        ::unlink(temporary.c_str());
        return error;
    }
    if (flushed) SyncFolderOf(path);
    return kErrorSuccess;
}

}  // namespace platform
