#include "cli/target.h"

#include "platform/drivemap.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace cli {

namespace {

std::optional<char> DriveLetterOf(const std::string& target)
{
    const bool isDrive = (target.size() == 2 || (target.size() == 3 && (target[2] == '\\' || target[2] == '/'))) &&
                         std::isalpha(static_cast<unsigned char>(target[0])) && target[1] == ':';
    if (!isDrive) return std::nullopt;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(target[0])));
}

// The reason in error when the target names no drive.
std::optional<char> LetterOf(const std::string& target, std::string& error)
{
    platform::DriveMap& drives = platform::DriveMap::Instance();
    if (const std::optional<char> letter = DriveLetterOf(target)) {
        if (drives.Find(*letter)) return letter;
        error = "drive " + std::string(1, *letter) + ": is not mapped (see 'kovahdd --help')";
        return std::nullopt;
    }
    std::error_code failure;
    const std::filesystem::path directory = std::filesystem::absolute(target, failure);
    if (failure || !std::filesystem::is_directory(directory, failure)) {
        error = "'" + target + "' is neither a drive nor a directory";
        return std::nullopt;
    }
    std::filesystem::path normal = directory.lexically_normal();
    if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
    const char letter = drives.AssignFreeLetter(normal.string());
    if (letter == 0) {
        error = "no drive letter is free for '" + target + "'";
        return std::nullopt;
    }
    return letter;
}

}  // namespace

std::optional<char> ResolveTarget(const std::string& target)
{
    std::string error;
    const std::optional<char> letter = LetterOf(target, error);
    if (!letter) std::fprintf(stderr, "kovahdd: %s\n", error.c_str());
    return letter;
}

}  // namespace cli
