#include "platform/files.h"

#include "platform/codepage.h"
#include "platform/dosattributes.h"
#include "platform/errors.h"
#include "platform/folderlisting.h"
#include "platform/pathresolver.h"
#include "platform/wildcard.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr char kCurrentFolder[] = ".";
constexpr char kParentFolder[] = "..";
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

using Listing = std::unique_ptr<DIR, int (*)(DIR*)>;

// Reads the attributes of the entries of one folder, in the detail the caller asked for.
class EntryMaker {
public:
    EntryMaker(const std::string& folder, ListingDetail detail)
        : detail_(detail), onFatVolume_(detail == ListingDetail::Full && IsOnFatVolume(folder))
    {
    }

    // The entry from its type in the listing, when the detail asks no more and the type is known.
    std::optional<FolderEntry> MakeFromListing(std::string& name, unsigned char type) const
    {
        if (detail_ != ListingDetail::Quick || (type != DT_DIR && type != DT_REG)) return std::nullopt;
        FolderEntry entry;
        entry.name = std::move(name);
        entry.attributes = type == DT_DIR ? kAttributeDirectory : kAttributeNormal;
        return entry;
    }

    FolderEntry Make(std::string name, const std::string& linuxPath, const struct stat& status, bool isLink = false) const
    {
        FolderEntry entry;
        entry.name = std::move(name);
        entry.attributes = detail_ == ListingDetail::Full ? ReadDosAttributes(linuxPath, status, onFatVolume_)
                                                          : ModeAttributes(status);
        if (isLink) entry.attributes |= kAttributeReparsePoint;
        if (!S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) entry.attributes |= kAttributeDevice;
        entry.size = S_ISDIR(status.st_mode) ? 0 : static_cast<uint64_t>(status.st_size);
        entry.lastWriteTime = status.st_mtim.tv_sec;
        return entry;
    }

    ListingDetail detail() const { return detail_; }

private:
    static uint32_t ModeAttributes(const struct stat& status)
    {
        uint32_t attributes = S_ISDIR(status.st_mode) ? kAttributeDirectory : 0;
        if (!S_ISDIR(status.st_mode) && (status.st_mode & kWriteBits) == 0) attributes |= kAttributeReadOnly;
        return attributes ? attributes : kAttributeNormal;
    }

    ListingDetail detail_;
    bool onFatVolume_;
};

struct EntryStatus {
    struct stat status {};  // of what a link points to
    bool isLink = false;
};

// The stat of a listed name, through a link; a dangling link is listed as what it is rather than
// dropped. Empty when the name vanished since the listing was read.
std::optional<EntryStatus> StatEntry(int folderFd, const char* name, unsigned char type)
{
    EntryStatus entry;
    if (type == DT_LNK || type == DT_UNKNOWN) {
        if (fstatat(folderFd, name, &entry.status, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
        entry.isLink = S_ISLNK(entry.status.st_mode);
        if (!entry.isLink) return entry;
    }
    struct stat target {};
    if (fstatat(folderFd, name, &target, 0) == 0) entry.status = target;
    else if (!entry.isLink) return std::nullopt;
    return entry;
}

void AddDotEntries(const std::string& folder, std::string_view pattern, const EntryMaker& maker,
                   std::vector<FolderEntry>& entries)
{
    for (const char* name : {kCurrentFolder, kParentFolder}) {
        if (!MatchesWildcard(pattern, name)) continue;
        std::string dotName = name;
        if (std::optional<FolderEntry> entry = maker.MakeFromListing(dotName, DT_DIR)) {
            entries.push_back(std::move(*entry));
            continue;
        }
        const std::string linuxPath = folder + "/" + name;
        struct stat status {};
        if (stat(linuxPath.c_str(), &status) == 0) entries.push_back(maker.Make(name, linuxPath, status));
    }
}

// Opens the folder as spelled first: listings mostly name folders that an earlier listing gave.
std::optional<ResolvedPath> OpenFolder(const std::string& folderPath, Listing& listing)
{
    ResolvedPath folder = SpelledPath(folderPath);
    if (folder.error == kErrorSuccess) listing.reset(opendir(folder.linuxPath.c_str()));
    if (listing) return folder;

    folder = ResolvePath(folderPath);
    if (folder.error != kErrorSuccess) {
        SetLastError(folder.error);
        return std::nullopt;
    }
    listing.reset(opendir(folder.linuxPath.c_str()));
    if (!listing) {
        // The folder itself is missing, not a file in it.
        SetLastError(errno == ENOENT ? kErrorPathNotFound : ErrorFromErrno(errno));
        return std::nullopt;
    }
    return folder;
}

}  // namespace

std::optional<std::vector<FolderEntry>> ListOpenFolder(DIR* listing, const std::string& linuxPath, bool isDriveRoot,
                                                       std::string_view namePattern, ListingDetail detail)
{
    if (namePattern.empty()) {
        SetLastError(kErrorFileNotFound);
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    const EntryMaker maker(linuxPath, detail);
    const int folderFd = dirfd(listing);
    if (!isDriveRoot) AddDotEntries(linuxPath, namePattern, maker, entries);
    const CodePage& page = CodePage::System();
    while (const dirent* found = readdir(listing)) {
        const std::string_view linuxName = found->d_name;
        if (linuxName == kCurrentFolder || linuxName == kParentFolder) continue;
        bool replaced = false;
        std::string name = page.FromUtf8(linuxName, &replaced);
        if (!MatchesWildcard(namePattern, name)) continue;
        std::optional<FolderEntry> entry = maker.MakeFromListing(name, found->d_type);
        if (!entry) {
            const std::optional<EntryStatus> status = StatEntry(folderFd, found->d_name, found->d_type);
            if (!status) continue;
            entry = maker.Make(std::move(name), linuxPath + "/" + found->d_name, status->status, status->isLink);
        }
        if (replaced) entry->fileSystemName = linuxName;
        entries.push_back(std::move(*entry));
    }
    if (entries.empty()) {
        SetLastError(kErrorFileNotFound);
        return std::nullopt;
    }
    return entries;
}

std::optional<std::vector<FolderEntry>> FindFiles(const std::string& pattern, ListingDetail detail)
{
    const auto [folderPath, namePattern] = SplitLastComponent(pattern);
    Listing listing(nullptr, closedir);
    const std::optional<ResolvedPath> folder = OpenFolder(folderPath, listing);
    if (!folder) return std::nullopt;
    return ListOpenFolder(listing.get(), folder->linuxPath, folder->isDriveRoot, namePattern, detail);
}

std::optional<FolderCount> CountFolder(const std::string& folderPath)
{
    Listing listing(nullptr, closedir);
    const std::optional<ResolvedPath> folder = OpenFolder(folderPath, listing);
    if (!folder) return std::nullopt;
    FolderCount count;
    const int folderFd = dirfd(listing.get());
    const CodePage& page = CodePage::System();
    while (const dirent* found = readdir(listing.get())) {
        const std::string_view linuxName = found->d_name;
        if (linuxName == kCurrentFolder || linuxName == kParentFolder) continue;
        bool toWalk = found->d_type == DT_DIR;
        if (found->d_type != DT_DIR && found->d_type != DT_REG) {
            const std::optional<EntryStatus> status = StatEntry(folderFd, found->d_name, found->d_type);
            if (!status) continue;
            toWalk = S_ISDIR(status->status.st_mode) && !status->isLink;
        }
        ++count.entries;
        if (toWalk) count.foldersToWalk.push_back(page.FromUtf8(linuxName));
    }
    // As FindFiles: a folder below the root lists "." and "..", so only a root can hold nothing.
    if (count.entries == 0 && folder->isDriveRoot) {
        SetLastError(kErrorFileNotFound);
        return std::nullopt;
    }
    return count;
}

}  // namespace platform
