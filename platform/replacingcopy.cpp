#include "platform/replacingcopy.h"

#include "platform/dosattributes.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/pathresolver.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr std::size_t kCopyBlock = 256 * 1024;
// Attempts at a free temporary name before giving up; a name is taken only by another copy
// running into the same folder at the same moment.
constexpr int kTemporaryNameAttempts = 100;

std::atomic<uint32_t> temporaryCounter{0};

bool Fail(uint32_t code)
{
    SetLastError(code);
    return false;
}

std::optional<std::string> Resolve(const std::string& windowsPath)
{
    ResolvedPath resolved = ResolvePath(windowsPath);
    if (resolved.error == kErrorSuccess) return std::move(resolved.linuxPath);
    SetLastError(resolved.error);
    return std::nullopt;
}

// An open file descriptor, closed with the object.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; 0 or the errno of a failed close (a write the file system could not finish).
    int Close()
    {
        const int result = close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Why the target cannot be replaced, as CopyFile would refuse it; kErrorSuccess when it can.
uint32_t TargetRefusal(const std::string& target, const struct stat& source)
{
    struct stat status {};
    if (lstat(target.c_str(), &status) != 0) return kErrorSuccess;
    if (S_ISLNK(status.st_mode)) return kErrorSuccess;  // the link itself is replaced
    if (S_ISDIR(status.st_mode)) return kErrorAccessDenied;
    if (status.st_dev == source.st_dev && status.st_ino == source.st_ino) return kErrorSharingViolation;
    if (ReadDosAttributes(target, status) & kAttributeReadOnly) return kErrorAccessDenied;
    return kErrorSuccess;
}

std::string FolderOf(const std::string& linuxPath)
{
    const std::size_t slash = linuxPath.find_last_of('/');
    return slash == 0 ? "/" : linuxPath.substr(0, slash);
}

// Creates a new file of a name of its own in the folder; the name is set on success. The leading
// dot keeps it out of sight of file managers while it is being written.
int CreateTemporary(const std::string& folder, std::string& name)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name = folder + "/.kovahdd-" + std::to_string(getpid()) + "-" + std::to_string(temporaryCounter++) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Copies the content block by block; 0, the errno of a failure, or -1 when cancelled.
int CopyContent(int from, int to, const std::atomic<int32_t>* cancel)
{
    constexpr int kCancelled = -1;
    std::vector<char> buffer(kCopyBlock);
    for (;;) {
        if (cancel && cancel->load() != 0) return kCancelled;
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

// The last-write time a copy takes, and the access time with it: some file systems (fusefat) keep
// neither when either is left to the kernel.
struct CopyTimes {
    struct timespec times[2];
    explicit CopyTimes(const struct stat& source) : times{source.st_atim, source.st_mtim} {}
};

// Fills the new file and gives it the source's time and attributes; kErrorSuccess or the code of the
// failure.
uint32_t Fill(int from, Descriptor& file, const std::string& path, const std::string& source,
              const struct stat& sourceStatus, const std::atomic<int32_t>* cancel)
{
    const int copied = CopyContent(from, file.get(), cancel);
    if (copied < 0) return kErrorRequestAborted;
    if (copied > 0) return ErrorFromErrno(copied);
    if (futimens(file.get(), CopyTimes(sourceStatus).times) != 0) return ErrorFromErrno(errno);
    if (const int closed = file.Close()) return ErrorFromErrno(closed);
    if (const int failed = WriteDosAttributes(path, ReadDosAttributes(source, sourceStatus))) {
        return ErrorFromErrno(failed);
    }
    return kErrorSuccess;
}

// Puts the complete temporary file in the target's place.
uint32_t Replace(const std::string& temporary, const std::string& target, const struct stat& sourceStatus)
{
    if (rename(temporary.c_str(), target.c_str()) != 0) return ErrorFromErrno(errno);
    // Some file systems (fusefat) give a renamed file the time of the rename; the copy is in place
    // by now, so a time that cannot be set again is no failure of it.
    utimensat(AT_FDCWD, target.c_str(), CopyTimes(sourceStatus).times, AT_SYMLINK_NOFOLLOW);
    return kErrorSuccess;
}

}  // namespace

bool CopyFileReplacing(const std::string& from, const std::string& to, const std::atomic<int32_t>* cancel)
{
    const std::optional<std::string> source = Resolve(from);
    if (!source) return false;
    const std::optional<std::string> target = Resolve(to);
    if (!target) return false;

    // Never waits on a FIFO, and copies only regular files.
    const Descriptor in(open(source->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!in.valid()) return Fail(ErrorForPath(errno, *source));
    struct stat sourceStatus {};
    if (fstat(in.get(), &sourceStatus) != 0 || !S_ISREG(sourceStatus.st_mode)) return Fail(kErrorAccessDenied);
    if (const uint32_t refusal = TargetRefusal(*target, sourceStatus)) return Fail(refusal);

    // A new file is written in place, as nothing is lost when it fails half way; a file that is
    // replaced is written beside it first.
    struct stat targetStatus {};
    const bool replacing = lstat(target->c_str(), &targetStatus) == 0;
    std::string written = *target;
    Descriptor out(replacing ? CreateTemporary(FolderOf(*target), written)
                             : open(target->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode));
    if (!out.valid()) return Fail(errno == ENOENT ? kErrorPathNotFound : ErrorFromErrno(errno));
    uint32_t failure = Fill(in.get(), out, written, *source, sourceStatus, cancel);
    if (failure == kErrorSuccess && replacing) failure = Replace(written, *target, sourceStatus);
    if (failure == kErrorSuccess) return true;
    unlink(written.c_str());
    return Fail(failure);
}

}  // namespace platform
