#include "platform/pathresolver.h"

#include "platform/codepage.h"
#include "platform/drivemap.h"
#include "platform/errors.h"

#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace platform {

namespace {

constexpr char kCurrentFolder[] = ".";
constexpr char kParentFolder[] = "..";
constexpr std::size_t kDrivePrefixLength = 2;  // "E:"

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsDirectory(const std::string& linuxPath)
{
    struct stat status {};
    return stat(linuxPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The drive's directory exists and is still the file system the drive stands for.
bool IsDriveReady(const ResolvedPath& path)
{
    struct stat status {};
    if (stat(path.driveDirectory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
    return !path.driveVolume || static_cast<uint64_t>(status.st_dev) == *path.driveVolume;
}

// The components below the drive, with "." dropped and ".." applied (never above the root).
std::vector<std::string> NormalComponents(std::string_view rest)
{
    const CodePage& page = CodePage::System();
    std::vector<std::string> components;
    std::string current;
    const auto finish = [&] {
        if (current == kParentFolder) {
            if (!components.empty()) components.pop_back();
        } else if (!current.empty() && current != kCurrentFolder) {
            components.push_back(current);
        }
        current.clear();
    };
    for (std::size_t i = 0; i < rest.size();) {
        const std::size_t size = page.CharacterSize(rest, i);
        if (size == 1 && IsSeparator(rest[i])) finish();
        else current.append(rest.substr(i, size));
        i += size;
    }
    finish();
    return components;
}

std::string JoinLinux(const std::string& folder, const std::string& name)
{
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The name in folder that stands for the wanted component: its exact spelling when that exists,
// else the first listing entry equal to it without regard to case once converted to the code page.
std::optional<std::string> FindExisting(const std::string& folder, const std::string& component)
{
    const CodePage& page = CodePage::System();
    const std::string spelled = page.ToUtf8(component);
    struct stat status {};
    if (lstat(JoinLinux(folder, spelled).c_str(), &status) == 0) return spelled;

    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.c_str()), closedir);
    if (!listing) return std::nullopt;
    while (const dirent* entry = readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (name == kCurrentFolder || name == kParentFolder) continue;
        if (EqualsNoCase(page.FromUtf8(name), component)) return std::string(name);
    }
    return std::nullopt;
}

ResolvedPath Failure(uint32_t error)
{
    ResolvedPath failed;
    failed.error = error;
    return failed;
}

}  // namespace

ResolvedPath SpelledPath(std::string_view windowsPath)
{
    if (windowsPath.find('\0') != std::string_view::npos) return Failure(kErrorInvalidName);
    if (windowsPath.size() < kDrivePrefixLength || windowsPath[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(windowsPath[0]))) {
        return Failure(kErrorPathNotFound);
    }
    const std::optional<DriveEntry> drive = DriveMap::Instance().Find(windowsPath[0]);
    if (!drive) return Failure(kErrorPathNotFound);

    const CodePage& page = CodePage::System();
    const std::vector<std::string> components = NormalComponents(windowsPath.substr(kDrivePrefixLength));
    ResolvedPath spelled;
    spelled.isDriveRoot = components.empty();
    spelled.linuxPath = drive->directory;
    for (const std::string& component : components) spelled.linuxPath = JoinLinux(spelled.linuxPath, page.ToUtf8(component));
    spelled.driveDirectory = drive->directory;
    spelled.driveVolume = drive->volume;
    spelled.components = components;
    return spelled;
}

ResolvedPath ResolvePath(std::string_view windowsPath)
{
    ResolvedPath resolved = SpelledPath(windowsPath);
    if (resolved.error != kErrorSuccess) return resolved;
    if (!IsDriveReady(resolved)) return Failure(kErrorNotReady);
    // Most paths come from listings and are spelled exactly: one lookup settles them.
    struct stat status {};
    if (lstat(resolved.linuxPath.c_str(), &status) == 0) return resolved;

    const CodePage& page = CodePage::System();
    resolved.linuxPath = resolved.driveDirectory;
    bool existing = true;
    for (const std::string& component : resolved.components) {
        std::optional<std::string> name;
        if (existing) name = FindExisting(resolved.linuxPath, component);
        // Below a component that does not exist nothing can, so the caller's spelling stands.
        existing = name.has_value();
        resolved.linuxPath = JoinLinux(resolved.linuxPath, existing ? *name : page.ToUtf8(component));
    }
    return resolved;
}

std::pair<std::string, std::string> SplitLastComponent(std::string_view windowsPath)
{
    const CodePage& page = CodePage::System();
    std::size_t lastSeparator = std::string_view::npos;
    for (std::size_t i = 0; i < windowsPath.size(); i += page.CharacterSize(windowsPath, i)) {
        if (IsSeparator(windowsPath[i]) && page.CharacterSize(windowsPath, i) == 1) lastSeparator = i;
    }
    if (lastSeparator == std::string_view::npos) {
        // "E:name" names an entry of the drive's root.
        const std::size_t split = windowsPath.size() >= kDrivePrefixLength && windowsPath[1] == ':'
                                      ? kDrivePrefixLength
                                      : 0;
        return {std::string(windowsPath.substr(0, split)), std::string(windowsPath.substr(split))};
    }
    return {std::string(windowsPath.substr(0, lastSeparator)), std::string(windowsPath.substr(lastSeparator + 1))};
}

uint32_t ErrorForPath(int errnoValue, const std::string& linuxPath)
{
    if (errnoValue != ENOENT) return ErrorFromErrno(errnoValue);
    const std::size_t slash = linuxPath.find_last_of('/');
    const std::string folder = slash == 0 || slash == std::string::npos ? "/" : linuxPath.substr(0, slash);
    return IsDirectory(folder) ? kErrorFileNotFound : kErrorPathNotFound;
}

}  // namespace platform
