#include "platform/filesystemflush.h"

#include "platform/errors.h"
#include "platform/pathresolver.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace platform {

namespace {

std::mutex flusherMutex;
FileSystemFlusher installedFlusher;

uint32_t SyncFileSystemOf(const std::string& linuxFolder)
{
    const int fd = ::open(linuxFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return ErrorFromErrno(errno);
    const uint32_t error = ::syncfs(fd) == 0 ? kErrorSuccess : ErrorFromErrno(errno);
    ::close(fd);
    return error;
}

}  // namespace

bool FlushFileSystem(const std::string& path)
{
    const ResolvedPath resolved = ResolvePath(path);
    const uint32_t error = resolved.error != kErrorSuccess ? resolved.error : FlushLinuxFileSystem(resolved.linuxPath);
    if (error == kErrorSuccess) return true;
    SetLastError(error);
    return false;
}

uint32_t FlushLinuxFileSystem(const std::string& linuxFolder)
{
    FileSystemFlusher flusher;
    {
        std::lock_guard lock(flusherMutex);
        flusher = installedFlusher;
    }
    return flusher ? flusher(linuxFolder) : SyncFileSystemOf(linuxFolder);
}

void SetFileSystemFlusher(FileSystemFlusher flusher)
{
    std::lock_guard lock(flusherMutex);
    installedFlusher = std::move(flusher);
}

}  // namespace platform
