#include "platform/copybatch.h"

#include "platform/codepage.h"
#include "platform/copytemporaries.h"
#include "platform/dosattributes.h"
#include "platform/filesystemflush.h"
#include "platform/files.h"
#include "platform/pathresolver.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr uint32_t kSettableAttributes = kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeArchive;
constexpr std::size_t kCopyBlock = 256 * 1024;
constexpr std::size_t kSmallestBlock = 4096;
// Attempts at a free temporary name before giving up; a name is taken only by another copy
// running into the same folder at the same moment.
constexpr int kTemporaryNameAttempts = 100;
constexpr int kCancelled = -1;

std::atomic<uint32_t> temporaryCounter{0};

bool Fail(uint32_t code)
{
    SetLastError(code);
    return false;
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

std::string JoinLinux(const std::string& folder, const std::string& name)
{
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Creates a new file of a name of its own in the folder; the name is set on success.
int CreateTemporary(const std::string& folder, pid_t process, std::string& path)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        path = JoinLinux(folder, CopyTemporaryName(process, temporaryCounter++));
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Copies the content block by block, as long as the file was when it was opened (size); 0, the
// errno of a failure, or kCancelled. A small file gets a buffer of its own size: playlists and the
// like are a few kilobytes.
int CopyContent(int from, int to, uint64_t size, const std::atomic<int32_t>* cancel)
{
    const std::size_t blockSize = static_cast<std::size_t>(std::clamp<uint64_t>(size, kSmallestBlock, kCopyBlock));
    const std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(blockSize);
    for (uint64_t total = 0; total < size;) {
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

// The free bytes of the file system holding the folder; empty when it does not tell (statvfs counts
// no blocks, as with fusefat) or cannot be asked.
std::optional<uint64_t> FreeBytesOf(const std::string& folder)
{
    struct statvfs volume {};
    if (statvfs(folder.c_str(), &volume) != 0 || volume.f_blocks == 0) return std::nullopt;
    return static_cast<uint64_t>(volume.f_bfree) * volume.f_frsize;
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
    const ResolvedPath resolved = ResolvePath(from);
    if (resolved.error != kErrorSuccess) {
        SetLastError(resolved.error);
        return -1;
    }
    linuxPath = resolved.linuxPath;
    const int fd = open(linuxPath.c_str(), kFlags);
    if (fd < 0) SetLastError(ErrorForPath(errno, linuxPath));
    return fd;
}

// The last-write time a copy takes, and the access time with it: some file systems (fusefat) keep
// neither when either is left to the kernel.
struct CopyTimes {
    struct timespec times[2];
    explicit CopyTimes(const struct stat& source) : times{source.st_atim, source.st_mtim} {}
};

std::optional<CopiedFile> StatusOf(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return CopiedFile{status.st_mtim.tv_sec, static_cast<uint64_t>(status.st_size)};
}

// Renames without replacing an entry of the name; where the file system cannot promise that, a
// plain rename (the caller has just found the name free).
int RenameToNewName(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

// A copy written whole beside its target, waiting for its rename.
struct CopyBatch::Pending {
    std::string written;      // the Linux path of the temporary file
    std::string target;       // the Linux path it takes
    std::string windowsTarget;
    bool targetIsNew = false;
    struct stat source {};
    int64_t writtenTime = 0;  // as the target's file system keeps it
    dev_t volume = 0;
};

namespace {

uint64_t Size(const CopyBatch::Pending& copy)
{
    return static_cast<uint64_t>(copy.source.st_size);
}

// The code of a failure to make or fill the temporary file, with the errno, once the file is gone.
// Whatever the error says (fusefat fails writes to a full disk with EPERM), a disk with less free
// than the file needs is full. Where the disk does not tell its room, a write into the new file that
// fails is taken to have failed for want of it.
uint32_t WriteFailure(int errnoValue, const std::string& folder, uint64_t bytesNeeded, bool writing)
{
    const uint32_t error = ErrorFromErrno(errnoValue);
    if (error == kErrorDiskFull) return error;
    const std::optional<uint64_t> free = FreeBytesOf(folder);
    const bool roomRanOut = free ? *free < bytesNeeded : writing;
    return roomRanOut ? kErrorDiskFull : error;
}

// Fills the temporary file and gives it the source's time and the attributes; kErrorSuccess or the
// code of the failure, the file then removed.
uint32_t Fill(int from, Descriptor& to, uint32_t attributes, const std::atomic<int32_t>* cancel,
              CopyBatch::Pending& copy)
{
    const auto discard = [&copy](uint32_t error) {
        unlink(copy.written.c_str());
        return error;
    };
    // The room is measured once the file is gone.
    const auto discardFailedWrite = [&copy](int errnoValue) {
        unlink(copy.written.c_str());
        return WriteFailure(errnoValue, FolderOf(copy.written), Size(copy), true);
    };
    const int failed = CopyContent(from, to.get(), Size(copy), cancel);
    if (failed == kCancelled) return discard(kErrorRequestAborted);
    if (failed > 0) return discardFailedWrite(failed);
    struct stat status {};
    if (futimens(to.get(), CopyTimes(copy.source).times) != 0 || fstat(to.get(), &status) != 0) {
        return discard(ErrorFromErrno(errno));
    }
    copy.writtenTime = status.st_mtim.tv_sec;
    copy.volume = status.st_dev;
    if (const int closed = to.Close()) return discardFailedWrite(closed);
    // A new file reads as archive and nothing else: only other attributes need writing.
    if ((attributes & kSettableAttributes) == kAttributeArchive) return kErrorSuccess;
    const int notWritten = WriteDosAttributes(copy.written, attributes);
    return notWritten ? discard(ErrorFromErrno(notWritten)) : kErrorSuccess;
}

// Renames the complete copy over its target, to the Linux path it took; kErrorSuccess or the code
// of the failure. A new name taken since the caller's listing (another program, or another letter
// case on a FAT disk) is replaced as Windows would find it.
uint32_t Rename(const CopyBatch::Pending& copy, std::string& target)
{
    target = copy.target;
    int failed = copy.targetIsNew ? RenameToNewName(copy.written, target) : 0;
    if (!copy.targetIsNew || failed == EEXIST) {
        const ResolvedPath resolved = ResolvePath(copy.windowsTarget);
        if (resolved.error != kErrorSuccess) return resolved.error;
        target = resolved.linuxPath;
        if (const uint32_t refusal = TargetRefusal(target, copy.source)) return refusal;
        failed = rename(copy.written.c_str(), target.c_str()) == 0 ? 0 : errno;
    }
    return failed == 0 ? kErrorSuccess : ErrorFromErrno(failed);
}

}  // namespace

CopyBatch::CopyBatch() : process_(getpid()) {}

CopyBatch::~CopyBatch()
{
    for (const Pending& copy : pending_) unlink(copy.written.c_str());
}

bool CopyBatch::Add(const std::string& from, const std::string& to, const CopyOptions& options)
{
    std::string source;
    const Descriptor in(OpenSource(from, source));
    if (!in.valid()) return false;
    Pending copy;
    if (fstat(in.get(), &copy.source) != 0 || !S_ISREG(copy.source.st_mode)) return Fail(kErrorAccessDenied);
    if (const uint32_t failure = FindTarget(to, options.targetIsNew, copy)) return Fail(failure);

    const std::string folder = FolderOf(copy.target);
    Descriptor out(CreateTemporary(folder, process_, copy.written));
    if (!out.valid()) return Fail(errno == ENOENT ? kErrorPathNotFound : WriteFailure(errno, folder, Size(copy), false));
    const uint32_t attributes = options.attributes ? *options.attributes : ReadDosAttributes(source, copy.source);
    if (const uint32_t failure = Fill(in.get(), out, attributes, options.cancel, copy)) return Fail(failure);
    bytes_ += Size(copy);
    pending_.push_back(std::move(copy));
    return true;
}

// The Linux path of the target: the name as spelled in its folder for a new one, else the entry
// Windows would find, checked as CopyFile checks it. kErrorSuccess or the code of the failure.
uint32_t CopyBatch::FindTarget(const std::string& to, bool targetIsNew, Pending& copy)
{
    copy.windowsTarget = to;
    if (targetIsNew) {
        const auto [folder, name] = SplitLastComponent(to);
        if (const std::optional<std::string> linuxFolder = FolderForNewTargets(folder); linuxFolder && !name.empty()) {
            copy.target = JoinLinux(*linuxFolder, CodePage::System().ToUtf8(name));
            copy.targetIsNew = true;
            return kErrorSuccess;
        }
    }
    const ResolvedPath resolved = ResolvePath(to);
    if (resolved.error != kErrorSuccess) return resolved.error;
    copy.target = resolved.linuxPath;
    return TargetRefusal(copy.target, copy.source);
}

// The folder of new targets, resolved once for the copies of a batch that follow one another into
// it (most go to the folder of the one before). A folder below a drive's root is as safe to reuse
// as to resolve again: once its device is gone, no folder of that path is left to write into. The
// root is resolved every time, as its empty mount point would take the files.
std::optional<std::string> CopyBatch::FolderForNewTargets(const std::string& folder)
{
    if (folder == lastNewTargetFolder_.windowsPath) return lastNewTargetFolder_.linuxPath;
    ResolvedPath resolved = ResolvePath(folder);
    if (resolved.error != kErrorSuccess) return std::nullopt;
    if (!resolved.isDriveRoot) lastNewTargetFolder_ = {folder, resolved.linuxPath};
    return std::move(resolved.linuxPath);
}

// The copy in its target's place, and the target as it is then (empty when it cannot be read). A
// file system that gives a renamed file the time of the rename has the source's time set again: the
// copy is in place by then, so a time that cannot be set is no failure of it.
std::optional<CopiedFile> CopyBatch::PutInPlace(const Pending& copy, uint32_t& error)
{
    std::string target;
    error = Rename(copy, target);
    if (error != kErrorSuccess) return std::nullopt;
    auto resets = renameResetsTime_.find(copy.volume);
    if (resets == renameResetsTime_.end()) {
        const std::optional<CopiedFile> renamed = StatusOf(target);
        if (!renamed) return std::nullopt;
        resets = renameResetsTime_.emplace(copy.volume, renamed->lastWriteTime != copy.writtenTime).first;
    }
    if (!resets->second) return CopiedFile{copy.writtenTime, Size(copy)};
    utimensat(AT_FDCWD, target.c_str(), CopyTimes(copy.source).times, AT_SYMLINK_NOFOLLOW);
    return StatusOf(target);
}

bool CopyBatch::Full() const
{
    return pending_.size() >= kMostCopies || bytes_ >= kMostBytes;
}

std::vector<CopyBatch::Outcome> CopyBatch::Finish()
{
    // One flush of each file system the batch wrote to, before any copy takes its target's place.
    std::map<dev_t, uint32_t> flushed;
    for (const Pending& copy : pending_) {
        if (!flushed.contains(copy.volume)) flushed[copy.volume] = FlushLinuxFileSystem(FolderOf(copy.written));
    }
    std::vector<Outcome> outcomes;
    outcomes.reserve(pending_.size());
    for (const Pending& copy : pending_) {
        Outcome& outcome = outcomes.emplace_back();
        outcome.error = flushed[copy.volume];
        if (outcome.error == kErrorSuccess) outcome.copied = PutInPlace(copy, outcome.error);
        if (outcome.error != kErrorSuccess) unlink(copy.written.c_str());
    }
    pending_.clear();
    bytes_ = 0;
    lastNewTargetFolder_ = {};
    return outcomes;
}

}  // namespace platform
