#include "platform/files.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/folderlisting.h"
#include "platform/pathresolver.h"
#include "platform/statusstamp.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace platform {

namespace {

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
        if (DIR* listing = opendir(spelled.linuxPath.c_str())) return Folder(listing, spelled.linuxPath, spelled.isDriveRoot);
    }
    const ResolvedPath resolved = ResolvePath(path);
    if (resolved.error != kErrorSuccess) {
        SetLastError(resolved.error);
        return std::nullopt;
    }
    DIR* listing = opendir(resolved.linuxPath.c_str());
    if (!listing) {
        SetLastError(errno == ENOENT ? kErrorPathNotFound : ErrorFromErrno(errno));
        return std::nullopt;
    }
    return Folder(listing, resolved.linuxPath, resolved.isDriveRoot);
}

Folder::Folder(DIR* listing, std::string linuxPath, bool isDriveRoot)
    : listing_(listing), linuxPath_(std::move(linuxPath)), isDriveRoot_(isDriveRoot)
{
}

Folder::Folder(Folder&& other) noexcept
    : listing_(std::exchange(other.listing_, nullptr)),
      linuxPath_(std::move(other.linuxPath_)),
      isDriveRoot_(other.isDriveRoot_),
      listed_(other.listed_)
{
}

Folder& Folder::operator=(Folder&& other) noexcept
{
    if (this != &other) {
        if (listing_) closedir(listing_);
        listing_ = std::exchange(other.listing_, nullptr);
        linuxPath_ = std::move(other.linuxPath_);
        isDriveRoot_ = other.isDriveRoot_;
        listed_ = other.listed_;
    }
    return *this;
}

Folder::~Folder()
{
    if (listing_) closedir(listing_);
}

int Folder::Descriptor() const
{
    return dirfd(listing_);
}

std::optional<std::vector<FolderEntry>> Folder::List(std::string_view namePattern, ListingDetail detail)
{
    if (listed_) rewinddir(listing_);
    listed_ = true;
    return ListOpenFolder(listing_, linuxPath_, isDriveRoot_, namePattern, detail);
}

std::optional<File> Folder::OpenForReading(const FolderEntry& entry, const std::string& path) const
{
    return File::OpenInFolder(Descriptor(), FileSystemName(entry), path);
}

std::optional<FileStamp> Folder::Stamp(const FolderEntry& entry) const
{
    struct stat status {};
    if (fstatat(Descriptor(), FileSystemName(entry).c_str(), &status, 0) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return StampOf(status);
}

}  // namespace platform
