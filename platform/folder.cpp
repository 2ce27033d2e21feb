#include "platform/files.h"

#include "platform/codepage.h"
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

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

// The entry's name as the file system spells it.
std::string FileSystemName(const FolderEntry& entry)
{
    return entry.NameLostCharacters() ? entry.fileSystemName : CodePage::System().ToUtf8(entry.name);
}

}  // namespace

// As FindFiles opens a folder: as spelled first, since folders mostly come from an earlier listing.
std::optional<Folder> Folder::Open(const std::string& path)
{
    const ResolvedPath spelled = SpelledPath(path);
    if (spelled.error == kErrorSuccess) {
        const int fd = open(spelled.linuxPath.c_str(), kFolderFlags);
        if (fd >= 0) return Folder(fd);
    }
    const ResolvedPath resolved = ResolvePath(path);
    if (resolved.error != kErrorSuccess) {
        SetLastError(resolved.error);
        return std::nullopt;
    }
    const int fd = open(resolved.linuxPath.c_str(), kFolderFlags);
    if (fd < 0) {
        SetLastError(errno == ENOENT ? kErrorPathNotFound : ErrorFromErrno(errno));
        return std::nullopt;
    }
    return Folder(fd);
}

Folder::Folder(int fd) : fd_(fd)
{
}

Folder::Folder(Folder&& other) noexcept : fd_(std::exchange(other.fd_, -1))
{
}

Folder& Folder::operator=(Folder&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

Folder::~Folder()
{
    if (fd_ >= 0) close(fd_);
}

std::optional<File> Folder::OpenForReading(const FolderEntry& entry, const std::string& path) const
{
    return File::OpenInFolder(fd_, FileSystemName(entry), path);
}

std::optional<FileStamp> Folder::Stamp(const FolderEntry& entry) const
{
    struct stat status {};
    if (fstatat(fd_, FileSystemName(entry).c_str(), &status, 0) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return StampOf(status);
}

}  // namespace platform
