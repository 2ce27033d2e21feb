#include "trayhost/sync/syncpaths.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <optional>
#include <vector>

namespace trayhost {

namespace {

// The folder at the device's root where the player keeps its system files and playlists.
constexpr std::string_view kDeviceSystemFolderName = "kovahdd";

constexpr char kSeparator = '\\';

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The offsets of the last "\" and the last "." that are characters of their own (a lead byte is
// never one of them, and stepping by characters skips the trail bytes).
struct LastMarks {
    std::optional<std::size_t> backslash;
    std::optional<std::size_t> dot;
};

LastMarks FindLastMarks(const std::string& path)
{
    const platform::CodePage& page = platform::CodePage::System();
    LastMarks marks;
    for (std::size_t i = 0; i < path.size(); i += page.CharacterSize(path, i)) {
        if (path[i] == kSeparator) marks.backslash = i;
        if (path[i] == '.') marks.dot = i;
    }
    return marks;
}

// Where each level of the path ends: at every "\" and at the end of the text.
std::vector<std::size_t> LevelEnds(const std::string& path)
{
    const platform::CodePage& page = platform::CodePage::System();
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < path.size(); i += page.CharacterSize(path, i)) {
        if (path[i] == kSeparator) ends.push_back(i);
    }
    ends.push_back(path.size());
    return ends;
}

// Whether a path that exists is a file (anything but a folder, also when its attributes cannot be
// read); empty when it does not exist.
std::optional<bool> ExistingIsFile(const std::string& path)
{
    if (!platform::FileExists(path)) return std::nullopt;
    const uint32_t attributes = platform::GetFileAttributes(path);
    return attributes == platform::kInvalidAttributes || (attributes & platform::kAttributeDirectory) == 0;
}

}  // namespace

bool IsFilePath(const std::string& path, std::size_t* nameOffset)
{
    const LastMarks marks = FindLastMarks(path);
    if (const std::optional<bool> existingIsFile = ExistingIsFile(path)) {
        if (!*existingIsFile) return false;
        if (nameOffset && marks.backslash) *nameOffset = *marks.backslash + 1;
        return true;
    }
    if (marks.backslash && (!marks.dot || *marks.backslash > *marks.dot)) return false;
    if (nameOffset && marks.dot) *nameOffset = marks.backslash ? *marks.backslash + 1 : 0;
    return true;
}

std::size_t NameOffset(const std::string& path)
{
    const LastMarks marks = FindLastMarks(path);
    return marks.backslash ? *marks.backslash + 1 : 0;
}

ItemPathTypes TypesOfItemPaths(const std::string& pcPath, const std::string& devicePath)
{
    const std::optional<bool> pc = ExistingIsFile(pcPath);
    const std::optional<bool> device = ExistingIsFile(devicePath);
    if (pc && device) return {*pc, *device};
    if (pc) return {*pc, *pc};
    if (device) return {*device, *device};
    return {IsFilePath(pcPath), IsFilePath(devicePath)};
}

void TrimSpaces(std::string& path)
{
    const std::size_t first = path.find_first_not_of(' ');
    if (first == std::string::npos) return;
    const std::size_t last = path.find_last_not_of(' ');
    path = path.substr(first, last - first + 1);
}

bool CreateFolderPath(const std::string& path, uint32_t* error)
{
    std::size_t nameOffset = 0;
    return CreateFolderAndParents(IsFilePath(path, &nameOffset) ? path.substr(0, nameOffset) : path, error);
}

bool CreateFolderAndParents(const std::string& folder, uint32_t* error)
{
    for (std::size_t end : LevelEnds(folder)) {
        const std::string level = folder.substr(0, end);
        if (level.empty() || IsDriveRoot(level)) continue;
        if (!platform::CreateDirectory(level) && platform::GetLastError() != platform::kErrorAlreadyExists) {
            if (error) *error = platform::GetLastError();
            return false;
        }
    }
    return true;
}

bool IsDriveRoot(const std::string& path)
{
    if (path.size() != 2 && path.size() != 3) return false;
    if (!IsAsciiLetter(path[0]) || path[1] != ':') return false;
    if (path.size() == 3 && path[2] != kSeparator) return false;
    return platform::FileExists(path);
}

bool IsInDeviceSystemFolder(char driveLetter, const std::string& path)
{
    const std::string folder = std::string(1, driveLetter) + ":\\" + std::string(kDeviceSystemFolderName);
    if (path.size() < folder.size()) return false;
    if (!platform::EqualsNoCase(std::string_view(path).substr(0, folder.size()), folder)) return false;
    return path.size() == folder.size() || path[folder.size()] == kSeparator;
}

}  // namespace trayhost
