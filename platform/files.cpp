#include "platform/files.h"

#include "platform/codepage.h"
#include "platform/dosattributes.h"
#include "platform/errors.h"
#include "platform/pathresolver.h"
#include "platform/statusstamp.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr mode_t kNewFolderMode = 0777;  // narrowed by the umask
constexpr mode_t kNewFileMode = 0666;
constexpr std::size_t kCopyChunk = 256 * 1024;

bool Fail(uint32_t code)
{
    SetLastError(code);
    return false;
}

// Resolves for a call that needs the path; on failure the last error is set and an empty optional
// returned.
std::optional<std::string> Resolve(const std::string& windowsPath)
{
    ResolvedPath resolved = ResolvePath(windowsPath);
    if (resolved.error == kErrorSuccess) return std::move(resolved.linuxPath);
    SetLastError(resolved.error);
    return std::nullopt;
}

// The status of what the path names, through a link; empty, with the last error set, when it is not there.
std::optional<struct stat> StatusOf(const std::string& windowsPath)
{
    const std::optional<std::string> linuxPath = Resolve(windowsPath);
    if (!linuxPath) return std::nullopt;
    struct stat status {};
    if (stat(linuxPath->c_str(), &status) != 0) {
        SetLastError(ErrorForPath(errno, *linuxPath));
        return std::nullopt;
    }
    return status;
}

bool IsReadOnlyFile(const std::string& linuxPath, const struct stat& status)
{
    return !S_ISDIR(status.st_mode) && (ReadDosAttributes(linuxPath, status) & kAttributeReadOnly) != 0;
}

std::string LastLinuxComponent(const std::string& linuxPath)
{
    return linuxPath.substr(linuxPath.find_last_of('/') + 1);
}

// Closes fd, keeping the errno of an earlier failure.
void CloseQuietly(int fd)
{
    const int savedErrno = errno;
    close(fd);
    errno = savedErrno;
}

// Copies the bytes of one open file to another; 0 or the errno of the failure.
int CopyContent(int from, int to)
{
    std::vector<char> buffer(kCopyChunk);
    for (;;) {
        const ssize_t got = read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(to, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) return errno;
            done += put;
        }
    }
}

// Writes the copy's content and last-write time; 0 or the errno of the failure.
int FillCopy(int from, int to, const struct stat& source)
{
    if (ftruncate(to, 0) != 0) return errno;
    if (const int failed = CopyContent(from, to)) return failed;
    const struct timespec times[2] = {{0, UTIME_NOW}, source.st_mtim};
    if (futimens(to, times) != 0) return errno;
    return 0;
}

}  // namespace

uint32_t GetFileAttributes(const std::string& path)
{
    const std::optional<std::string> linuxPath = Resolve(path);
    if (!linuxPath) return kInvalidAttributes;
    struct stat status {};
    if (stat(linuxPath->c_str(), &status) != 0) {
        SetLastError(ErrorForPath(errno, *linuxPath));
        return kInvalidAttributes;
    }
    return ReadDosAttributes(*linuxPath, status);
}

bool SetFileAttributes(const std::string& path, uint32_t attributes)
{
    // The failure value of GetFileAttributes, perhaps with a bit added, is no set of attributes.
    if (attributes == kInvalidAttributes) return Fail(kErrorInvalidParameter);
    const std::optional<std::string> linuxPath = Resolve(path);
    if (!linuxPath) return false;
    const int failed = WriteDosAttributes(*linuxPath, attributes);
    return failed ? Fail(ErrorForPath(failed, *linuxPath)) : true;
}

bool CreateDirectory(const std::string& path)
{
    const std::optional<std::string> linuxPath = Resolve(path);
    if (!linuxPath) return false;
    if (mkdir(linuxPath->c_str(), kNewFolderMode) == 0) return true;
    if (errno == EEXIST) return Fail(kErrorAlreadyExists);
    // A folder cannot be created in a folder that is missing.
    return Fail(errno == ENOENT ? kErrorPathNotFound : ErrorFromErrno(errno));
}

bool RemoveDirectory(const std::string& path)
{
    const std::optional<std::string> linuxPath = Resolve(path);
    if (!linuxPath) return false;
    if (rmdir(linuxPath->c_str()) == 0) return true;
    return Fail(errno == EEXIST ? kErrorDirNotEmpty : ErrorForPath(errno, *linuxPath));
}

bool FileExists(const std::string& path)
{
    const std::optional<std::string> linuxPath = Resolve(path);
    if (!linuxPath) return false;
    return access(linuxPath->c_str(), F_OK) == 0 ? true : Fail(ErrorForPath(errno, *linuxPath));
}

bool DeleteFile(const std::string& path)
{
    const std::optional<std::string> linuxPath = Resolve(path);
    if (!linuxPath) return false;
    struct stat status {};
    if (lstat(linuxPath->c_str(), &status) != 0) return Fail(ErrorForPath(errno, *linuxPath));
    // Windows refuses to delete a folder or a read-only file this way; Linux would not.
    if (S_ISDIR(status.st_mode)) return Fail(kErrorAccessDenied);
    if (!S_ISLNK(status.st_mode) && IsReadOnlyFile(*linuxPath, status)) return Fail(kErrorAccessDenied);
    return unlink(linuxPath->c_str()) == 0 ? true : Fail(ErrorForPath(errno, *linuxPath));
}

bool CopyFile(const std::string& from, const std::string& to, bool failIfExists)
{
    const std::optional<std::string> source = Resolve(from);
    if (!source) return false;
    const std::optional<std::string> target = Resolve(to);
    if (!target) return false;

    // Never waits on a FIFO, and copies only regular files.
    const int in = open(source->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (in < 0) return Fail(ErrorForPath(errno, *source));
    struct stat sourceStatus {};
    if (fstat(in, &sourceStatus) != 0 || !S_ISREG(sourceStatus.st_mode)) {
        CloseQuietly(in);
        return Fail(kErrorAccessDenied);
    }
    struct stat targetStatus {};
    if (stat(target->c_str(), &targetStatus) == 0) {
        uint32_t refusal = kErrorSuccess;
        if (failIfExists) refusal = kErrorFileExists;
        else if (S_ISDIR(targetStatus.st_mode) || IsReadOnlyFile(*target, targetStatus)) refusal = kErrorAccessDenied;
        // Truncating the target would destroy the source when both are one file.
        else if (targetStatus.st_dev == sourceStatus.st_dev && targetStatus.st_ino == sourceStatus.st_ino) {
            refusal = kErrorSharingViolation;
        }
        if (refusal != kErrorSuccess) {
            close(in);
            return Fail(refusal);
        }
    }

    // Nor writes through a link at the target's name, or into anything but a regular file.
    const int out = open(target->c_str(),
                         O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | (failIfExists ? O_EXCL : 0),
                         kNewFileMode);
    if (out < 0) {
        const uint32_t code = errno == ELOOP ? kErrorAccessDenied : ErrorForPath(errno, *target);
        close(in);
        return Fail(code);
    }
    struct stat outStatus {};
    if (fstat(out, &outStatus) != 0 || !S_ISREG(outStatus.st_mode)) {
        close(out);
        close(in);
        return Fail(kErrorAccessDenied);
    }
    int failed = FillCopy(in, out, sourceStatus);
    close(in);
    if (close(out) != 0 && failed == 0) failed = errno;
    if (failed == 0) failed = WriteDosAttributes(*target, ReadDosAttributes(*source, sourceStatus));
    if (failed == 0) return true;
    // As on Windows, a copy that failed half way leaves no partial file behind.
    unlink(target->c_str());
    return Fail(ErrorFromErrno(failed));
}

bool MoveFileReplacing(const std::string& from, const std::string& to)
{
    const std::optional<std::string> source = Resolve(from);
    if (!source) return false;
    std::optional<std::string> target = Resolve(to);
    if (!target) return false;

    struct stat sourceStatus {};
    if (lstat(source->c_str(), &sourceStatus) != 0) return Fail(ErrorForPath(errno, *source));
    struct stat targetStatus {};
    if (lstat(target->c_str(), &targetStatus) == 0) {
        const bool sameFile = targetStatus.st_dev == sourceStatus.st_dev && targetStatus.st_ino == sourceStatus.st_ino;
        if (sameFile) {
            // Only the letter case changes: the target was resolved to the source's own name.
            const std::string wanted = CodePage::System().ToUtf8(SplitLastComponent(to).second);
            *target = target->substr(0, target->size() - LastLinuxComponent(*target).size()) + wanted;
        } else if (S_ISDIR(targetStatus.st_mode) || IsReadOnlyFile(*target, targetStatus)) {
            return Fail(kErrorAccessDenied);
        }
    }
    if (rename(source->c_str(), target->c_str()) == 0) return true;
    if (errno == ENOENT) return Fail(kErrorPathNotFound);
    return Fail(errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST ? kErrorAccessDenied : ErrorFromErrno(errno));
}

std::optional<int64_t> GetLastWriteTime(const std::string& path)
{
    const std::optional<struct stat> status = StatusOf(path);
    if (!status) return std::nullopt;
    return status->st_mtim.tv_sec;
}

std::optional<FileStamp> GetFileStamp(const std::string& path)
{
    const std::optional<struct stat> status = StatusOf(path);
    if (!status) return std::nullopt;
    if (!S_ISREG(status->st_mode)) {
        SetLastError(kErrorAccessDenied);
        return std::nullopt;
    }
    return StampOf(*status);
}

bool SetLastWriteTime(const std::string& path, int64_t seconds)
{
    const std::optional<std::string> linuxPath = Resolve(path);
    if (!linuxPath) return false;
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    if (utimensat(AT_FDCWD, linuxPath->c_str(), times, 0) == 0) return true;
    return Fail(ErrorForPath(errno, *linuxPath));
}

std::optional<uint64_t> GetDiskFreeSpace(const std::string& path)
{
    const std::optional<std::string> linuxPath = Resolve(path);
    if (!linuxPath) return std::nullopt;
    struct statvfs volume {};
    if (statvfs(linuxPath->c_str(), &volume) != 0) {
        SetLastError(errno == ENOENT ? kErrorPathNotFound : ErrorFromErrno(errno));
        return std::nullopt;
    }
    return static_cast<uint64_t>(volume.f_bfree) * volume.f_frsize;
}

}  // namespace platform
