#include "platform/replacingcopy.h"

#include "platform/codepage.h"
#include "platform/dosattributes.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/pathresolver.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <algorithm>
#include <memory>
#include <unistd.h>

namespace platform {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr uint32_t kSettableAttributes = kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeArchive;
constexpr std::size_t kCopyBlock = 256 * 1024;
constexpr std::size_t kSmallestBlock = 4096;
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
    void Reset(int fd)
    {
        if (fd_ >= 0) close(fd_);
        fd_ = fd;
    }
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

// Copies the content block by block, as long as the file was when it was opened (size); 0, the
// errno of a failure, or -1 when cancelled. A small file gets a buffer of its own size: playlists
// and the like are a few kilobytes.
int CopyContent(int from, int to, uint64_t size, const std::atomic<int32_t>* cancel)
{
    constexpr int kCancelled = -1;
    const std::size_t blockSize = static_cast<std::size_t>(std::clamp<uint64_t>(size, kSmallestBlock, kCopyBlock));
    const std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(blockSize);
    for (uint64_t total = 0; total < size; ) {
        if (cancel && cancel->load() != 0) return kCancelled;
        const ssize_t got = read(from, buffer.get(), blockSize);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        total += static_cast<uint64_t>(got);
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(to, buffer.get() + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) return errno;
            done += put;
        }
    }
    return 0;
}

// The last-write time a copy takes, and the access time with it: some file systems (fusefat) keep
// neither when either is left to the kernel.
struct CopyTimes {
    struct timespec times[2];
    explicit CopyTimes(const struct stat& source) : times{source.st_atim, source.st_mtim} {}
};

// Where the content goes: the target itself when it is new, else a temporary file beside it.
struct Destination {
    Descriptor file{-1};
    std::string written;  // the Linux path of the file written
    std::string target;   // the Linux path of the target
    bool replacing = false;
};

std::string JoinLinux(const std::string& folder, const std::string& name)
{
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The new file at the target's name as spelled, in its folder; false when the folder cannot be
// found or the name is taken after all.
bool OpenSpelledNew(const std::string& to, Destination& destination)
{
    const auto [folder, name] = SplitLastComponent(to);
    const ResolvedPath resolvedFolder = ResolvePath(folder);
    if (resolvedFolder.error != kErrorSuccess || name.empty()) return false;
    destination.target = JoinLinux(resolvedFolder.linuxPath, CodePage::System().ToUtf8(name));
    destination.written = destination.target;
    destination.file.Reset(
        open(destination.target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode));
    return destination.file.valid();
}

// The target found as Windows finds it, checked as CopyFile checks it, and the file to write.
uint32_t OpenResolved(const std::string& to, const struct stat& sourceStatus, Destination& destination)
{
    const ResolvedPath resolved = ResolvePath(to);
    if (resolved.error != kErrorSuccess) return resolved.error;
    destination.target = resolved.linuxPath;
    if (const uint32_t refusal = TargetRefusal(destination.target, sourceStatus)) return refusal;
    struct stat targetStatus {};
    destination.replacing = lstat(destination.target.c_str(), &targetStatus) == 0;
    destination.written = destination.target;
    destination.file.Reset(destination.replacing ? CreateTemporary(FolderOf(destination.target), destination.written)
                                                 : open(destination.target.c_str(),
                                                        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode));
    if (destination.file.valid()) return kErrorSuccess;
    return errno == ENOENT ? kErrorPathNotFound : ErrorFromErrno(errno);
}

std::optional<CopiedFile> CopiedFileOf(const struct stat& status)
{
    return CopiedFile{status.st_mtim.tv_sec, static_cast<uint64_t>(status.st_size)};
}

// Fills the new file and gives it the source's time and the attributes; kErrorSuccess or the code of
// the failure. A file written in place tells its status here.
uint32_t Fill(int from, const struct stat& sourceStatus, uint32_t attributes, Destination& destination,
              const std::atomic<int32_t>* cancel, std::optional<CopiedFile>& copied)
{
    const int failed = CopyContent(from, destination.file.get(), static_cast<uint64_t>(sourceStatus.st_size), cancel);
    if (failed < 0) return kErrorRequestAborted;
    if (failed > 0) return ErrorFromErrno(failed);
    if (futimens(destination.file.get(), CopyTimes(sourceStatus).times) != 0) return ErrorFromErrno(errno);
    struct stat status {};
    if (!destination.replacing && fstat(destination.file.get(), &status) == 0) copied = CopiedFileOf(status);
    if (const int closed = destination.file.Close()) return ErrorFromErrno(closed);
    // A new file reads as archive and nothing else: only other attributes need writing.
    if ((attributes & kSettableAttributes) == kAttributeArchive) return kErrorSuccess;
    const int notWritten = WriteDosAttributes(destination.written, attributes);
    return notWritten ? ErrorFromErrno(notWritten) : kErrorSuccess;
}

// Puts the complete temporary file in the target's place, and tells the target's status.
uint32_t Replace(const Destination& destination, const struct stat& sourceStatus, std::optional<CopiedFile>& copied)
{
    if (rename(destination.written.c_str(), destination.target.c_str()) != 0) return ErrorFromErrno(errno);
    // Some file systems (fusefat) give a renamed file the time of the rename; the copy is in place
    // by now, so a time that cannot be set again is no failure of it.
    utimensat(AT_FDCWD, destination.target.c_str(), CopyTimes(sourceStatus).times, AT_SYMLINK_NOFOLLOW);
    struct stat status {};
    if (stat(destination.target.c_str(), &status) == 0) copied = CopiedFileOf(status);
    return kErrorSuccess;
}

// The source, opened as spelled first: copies mostly name files that a listing gave.
int OpenSource(const std::string& from, std::string& linuxPath)
{
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;  // never waits on a FIFO
    const ResolvedPath spelled = SpelledPath(from);
    if (spelled.error == kErrorSuccess) {
        const int fd = open(spelled.linuxPath.c_str(), kFlags);
        if (fd >= 0) {
            linuxPath = spelled.linuxPath;
            return fd;
        }
    }
    const std::optional<std::string> resolved = Resolve(from);
    if (!resolved) return -1;
    linuxPath = *resolved;
    const int fd = open(linuxPath.c_str(), kFlags);
    if (fd < 0) SetLastError(ErrorForPath(errno, linuxPath));
    return fd;
}

}  // namespace

bool CopyFileReplacing(const std::string& from, const std::string& to, const CopyOptions& options,
                       std::optional<CopiedFile>* copied)
{
    std::string source;
    const Descriptor in(OpenSource(from, source));
    if (!in.valid()) return false;
    // Only regular files are copied.
    struct stat sourceStatus {};
    if (fstat(in.get(), &sourceStatus) != 0 || !S_ISREG(sourceStatus.st_mode)) return Fail(kErrorAccessDenied);

    Destination destination;
    if (!options.targetIsNew || !OpenSpelledNew(to, destination)) {
        if (const uint32_t failure = OpenResolved(to, sourceStatus, destination)) return Fail(failure);
    }
    const uint32_t attributes = options.attributes ? *options.attributes : ReadDosAttributes(source, sourceStatus);
    std::optional<CopiedFile> status;
    uint32_t failure = Fill(in.get(), sourceStatus, attributes, destination, options.cancel, status);
    if (failure == kErrorSuccess && destination.replacing) failure = Replace(destination, sourceStatus, status);
    if (failure != kErrorSuccess) {
        unlink(destination.written.c_str());
        return Fail(failure);
    }
    if (copied) *copied = status;
    return true;
}

}  // namespace platform
