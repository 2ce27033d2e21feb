#include "platform/paths.h"

#include "platform/codepage.h"
#include "platform/drivemap.h"
#include "platform/errors.h"
#include "platform/pathresolver.h"

#include <algorithm>
#include <filesystem>

namespace platform {

namespace {

constexpr char kFallbackDrive = 'Z';

// True when directory is path itself or one of the folders above it.
bool Holds(const std::string& directory, const std::string& path)
{
    if (directory == "/") return true;
    return path.compare(0, directory.size(), directory) == 0 &&
           (path.size() == directory.size() || path[directory.size()] == '/');
}

std::string AbsoluteLinuxPath(const std::string& linuxPath)
{
    std::error_code ignored;
    std::string absolute = std::filesystem::absolute(linuxPath, ignored).lexically_normal().string();
    if (absolute.empty()) absolute = linuxPath;
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
    return absolute;
}

}  // namespace

std::optional<std::string> ToLinuxPath(const std::string& windowsPath)
{
    ResolvedPath resolved = ResolvePath(windowsPath);
    if (resolved.error != kErrorSuccess) {
        SetLastError(resolved.error);
        return std::nullopt;
    }
    return std::move(resolved.linuxPath);
}

std::string ToWindowsPath(const std::string& linuxPath)
{
    const std::string path = AbsoluteLinuxPath(linuxPath);
    char letter = kFallbackDrive;
    std::size_t matched = 0;
    bool found = false;
    for (const DriveEntry& entry : DriveMap::Instance().Entries()) {
        if (Holds(entry.directory, path) && (!found || entry.directory.size() > matched)) {
            letter = entry.letter;
            matched = entry.directory.size();
            found = true;
        }
    }
    std::string rest = path.substr(std::min(matched, path.size()));
    const std::size_t firstName = rest.find_first_not_of('/');
    rest.erase(0, firstName == std::string::npos ? rest.size() : firstName);
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return std::string(1, letter) + ":\\" + CodePage::System().FromUtf8(rest);
}

bool EndsWithBackslash(const std::string& path)
{
    const CodePage& page = CodePage::System();
    bool backslash = false;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t size = page.CharacterSize(path, i);
        backslash = size == 1 && path[i] == '\\';
        i += size;
    }
    return backslash;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    return EndsWithBackslash(folder) ? folder + name : folder + "\\" + name;
}

}  // namespace platform
