#include "platform/drivemap.h"

#include "platform/removabledisks.h"
#include "platform/userfolders.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr char kRootLetter = 'Z';
constexpr char kRootDirectory[] = "/";
constexpr char kFirstAssignableLetter = 'E';
constexpr char kLastLetter = 'Z';
constexpr std::size_t kVendorWidth = 8;
constexpr std::size_t kProductWidth = 16;
constexpr char kIdentitySeparator = '|';
constexpr char kVariableSeparator = ';';
constexpr char kCommentStart = '#';
constexpr char kDrivesVariable[] = "KOVAHDD_DRIVES";
constexpr char kConfigFileName[] = "/drives.conf";
constexpr char kConfigSourceName[] = "drives.conf";  // as warnings name the file

std::string_view Trim(std::string_view text)
{
    const auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// The inquiry strings as sysfs gives them: space-padded to a fixed width.
std::optional<std::string> PadIdentity(std::string_view text, std::size_t width)
{
    text = Trim(text);
    if (text.size() > width) return std::nullopt;
    std::string padded(text);
    padded.resize(width, ' ');
    return padded;
}

// The file system the directory lies on now; empty when it is no directory.
std::optional<uint64_t> VolumeOf(const std::string& directory)
{
    struct stat status {};
    if (stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
    return static_cast<uint64_t>(status.st_dev);
}

void Put(std::vector<DriveEntry>& entries, DriveEntry entry)
{
    entry.volume = VolumeOf(entry.directory);
    const auto at = std::lower_bound(entries.begin(), entries.end(), entry.letter,
                                     [](const DriveEntry& e, char letter) { return e.letter < letter; });
    if (at != entries.end() && at->letter == entry.letter) *at = std::move(entry);
    else entries.insert(at, std::move(entry));
}

// Entries the user wrote: one whose directory is missing would be listed as a device that is not there.
void PutAll(std::vector<DriveEntry>& entries, const std::vector<std::string>& texts, const char* source)
{
    for (const std::string& text : texts) {
        const std::optional<DriveEntry> entry = ParseDriveEntry(text);
        if (!entry) continue;
        if (!VolumeOf(entry->directory)) {
            std::fprintf(stderr, "kovahdd: drive %c: of %s is left out: %s is not a directory\n", entry->letter,
                         source, entry->directory.c_str());
            continue;
        }
        Put(entries, *entry);
    }
}

std::string ConfigFilePath()
{
    const std::string folder = UserConfigFolder();
    return folder.empty() ? folder : folder + kConfigFileName;
}

std::vector<std::string> ConfigFileEntries()
{
    std::vector<std::string> texts;
    const std::string path = ConfigFilePath();
    if (path.empty()) return texts;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::string_view text = Trim(line);
        if (!text.empty() && text.front() != kCommentStart) texts.emplace_back(text);
    }
    return texts;
}

std::vector<std::string> VariableEntries()
{
    std::vector<std::string> texts;
    const char* value = std::getenv(kDrivesVariable);
    if (!value) return texts;
    for (std::string_view part : Split(value, kVariableSeparator)) {
        if (!Trim(part).empty()) texts.emplace_back(part);
    }
    return texts;
}

}  // namespace

std::optional<DriveEntry> ParseDriveEntry(const std::string& text)
{
    const std::vector<std::string_view> parts = Split(Trim(text), kIdentitySeparator);
    if (parts.size() != 1 && parts.size() != 3) return std::nullopt;

    const std::string_view assignment = Trim(parts[0]);
    std::size_t next = 1;
    if (assignment.empty() || !std::isalpha(static_cast<unsigned char>(assignment[0]))) return std::nullopt;
    if (next < assignment.size() && assignment[next] == ':') ++next;
    if (next >= assignment.size() || assignment[next] != '=') return std::nullopt;

    std::string_view directory = Trim(assignment.substr(next + 1));
    if (directory.empty() || directory.front() != '/') return std::nullopt;
    while (directory.size() > 1 && directory.back() == '/') directory.remove_suffix(1);

    DriveEntry entry;
    entry.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(assignment[0])));
    entry.directory = std::string(directory);
    if (parts.size() == 3) {
        std::optional<std::string> vendor = PadIdentity(parts[1], kVendorWidth);
        std::optional<std::string> product = PadIdentity(parts[2], kProductWidth);
        if (!vendor || !product) return std::nullopt;
        entry.removable = true;
        entry.vendor = std::move(*vendor);
        entry.product = std::move(*product);
    }
    return entry;
}

DriveMap& DriveMap::Instance()
{
    static DriveMap map;
    return map;
}

DriveMap::DriveMap()
{
    LoadSources();
}

std::optional<DriveEntry> DriveMap::Find(char letter) const
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    std::lock_guard lock(mutex_);
    for (const DriveEntry& entry : entries_) {
        if (entry.letter == upper) return entry;
    }
    return std::nullopt;
}

std::vector<DriveEntry> DriveMap::Entries() const
{
    std::lock_guard lock(mutex_);
    return entries_;
}

void DriveMap::Assign(const DriveEntry& entry)
{
    std::lock_guard lock(mutex_);
    Put(entries_, entry);
}

void DriveMap::Remove(char letter)
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [upper](const DriveEntry& entry) { return entry.letter == upper; });
}

char DriveMap::AssignFreeLetter(const std::string& directory, bool removable)
{
    std::lock_guard lock(mutex_);
    for (char letter = kFirstAssignableLetter; letter <= kLastLetter; ++letter) {
        const bool taken = std::any_of(entries_.begin(), entries_.end(),
                                       [letter](const DriveEntry& entry) { return entry.letter == letter; });
        if (taken) continue;
        DriveEntry entry;
        entry.letter = letter;
        entry.directory = directory;
        entry.removable = removable;
        Put(entries_, entry);
        return letter;
    }
    return 0;
}

void DriveMap::Reload()
{
    std::lock_guard lock(mutex_);
    LoadSources();
}

// Later sources replace earlier ones letter by letter. Called with the mutex held (or from the
// constructor).
void DriveMap::LoadSources()
{
    entries_.clear();
    DriveEntry root;
    root.letter = kRootLetter;
    root.directory = kRootDirectory;
    Put(entries_, root);
    AddRemovableDrives(entries_);
    for (DriveEntry& entry : entries_) entry.volume = VolumeOf(entry.directory);
    PutAll(entries_, ConfigFileEntries(), kConfigSourceName);
    PutAll(entries_, VariableEntries(), kDrivesVariable);
}

}  // namespace platform
