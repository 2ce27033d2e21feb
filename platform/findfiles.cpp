#include "platform/files.h"

#include "platform/codepage.h"
#include "platform/dosattributes.h"
#include "platform/errors.h"
#include "platform/pathresolver.h"
#include "platform/wildcard.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr char kCurrentFolder[] = ".";
constexpr char kParentFolder[] = "..";

FolderEntry MakeEntry(std::string name, const std::string& linuxPath, const struct stat& status)
{
    FolderEntry entry;
    entry.name = std::move(name);
    entry.attributes = ReadDosAttributes(linuxPath, status);
    entry.size = S_ISDIR(status.st_mode) ? 0 : static_cast<uint64_t>(status.st_size);
    entry.lastWriteTime = status.st_mtim.tv_sec;
    return entry;
}

// The stat of a listed name; a dangling link is listed as what it is rather than dropped.
bool StatEntry(int folderFd, const char* name, struct stat* status)
{
    return fstatat(folderFd, name, status, 0) == 0 || fstatat(folderFd, name, status, AT_SYMLINK_NOFOLLOW) == 0;
}

void AddDotEntries(const std::string& folder, std::string_view pattern, std::vector<FolderEntry>& entries)
{
    for (const char* name : {kCurrentFolder, kParentFolder}) {
        const std::string linuxPath = folder + "/" + name;
        struct stat status {};
        if (MatchesWildcard(pattern, name) && stat(linuxPath.c_str(), &status) == 0) {
            entries.push_back(MakeEntry(name, linuxPath, status));
        }
    }
}

}  // namespace

std::optional<std::vector<FolderEntry>> FindFiles(const std::string& pattern)
{
    const auto [folderPath, namePattern] = SplitLastComponent(pattern);
    const ResolvedPath folder = ResolvePath(folderPath);
    if (folder.error != kErrorSuccess) {
        SetLastError(folder.error);
        return std::nullopt;
    }
    if (namePattern.empty()) {
        SetLastError(kErrorFileNotFound);
        return std::nullopt;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.linuxPath.c_str()), closedir);
    if (!listing) {
        // The folder itself is missing, not a file in it.
        SetLastError(errno == ENOENT ? kErrorPathNotFound : ErrorFromErrno(errno));
        return std::nullopt;
    }

    std::vector<FolderEntry> entries;
    if (!folder.isDriveRoot) AddDotEntries(folder.linuxPath, namePattern, entries);
    const CodePage& page = CodePage::System();
    const int folderFd = dirfd(listing.get());
    while (const dirent* found = readdir(listing.get())) {
        const std::string_view linuxName = found->d_name;
        if (linuxName == kCurrentFolder || linuxName == kParentFolder) continue;
        std::string name = page.FromUtf8(linuxName);
        struct stat status {};
        // An entry that vanished since the listing was read is not there any more.
        if (!MatchesWildcard(namePattern, name) || !StatEntry(folderFd, found->d_name, &status)) continue;
        entries.push_back(MakeEntry(std::move(name), folder.linuxPath + "/" + found->d_name, status));
    }
    if (entries.empty()) {
        SetLastError(kErrorFileNotFound);
        return std::nullopt;
    }
    return entries;
}

}  // namespace platform
