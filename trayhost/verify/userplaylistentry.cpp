#include "trayhost/verify/userplaylistentry.h"

#include "platform/codepage.h"
#include "platform/paths.h"

#include <algorithm>

namespace trayhost {

namespace {

constexpr char kSpace = ' ';
constexpr char kCommentMark = '#';
constexpr char kBackslash = '\\';
constexpr std::string_view kCurrentFolderStep = ".\\";
constexpr std::string_view kParentFolderStep = "..\\";

// Bytes 0x01 to 0x1F and 0x7F; bytes from 0x80 on are characters of the code page.
bool IsControlCharacter(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return (value >= 0x01 && value <= 0x1F) || value == 0x7F;
}

// The length of the text cut to at most maxBytes, never between the two bytes of a character.
std::size_t CutLength(std::string_view text, std::size_t maxBytes)
{
    const platform::CodePage& page = platform::CodePage::System();
    if (!page.HasLeadBytes()) return std::min(text.size(), maxBytes);
    std::size_t length = 0;
    while (length < text.size()) {
        const std::size_t next = length + page.CharacterSize(text, length);
        if (next > maxBytes) break;
        length = next;
    }
    return length;
}

// The last backslash of the path that is not the second byte of a double-byte character.
std::size_t LastBackslash(std::string_view path)
{
    const platform::CodePage& page = platform::CodePage::System();
    std::size_t last = std::string_view::npos;
    for (std::size_t at = 0; at < path.size(); at += page.CharacterSize(path, at)) {
        if (path[at] == kBackslash) last = at;
    }
    return last;
}

// Each leading "..\" cuts the folder at its last backslash; an entry that climbs past the root is
// kept as written.
std::string ResolveClimbing(const std::string& text, const std::string& playlistFolder)
{
    std::string path = playlistFolder;
    std::string_view rest = text;
    while (rest.starts_with(kParentFolderStep)) {
        const std::size_t cut = LastBackslash(path);
        if (cut == std::string::npos) return text;
        path.resize(cut);
        rest.remove_prefix(kParentFolderStep.size());
    }
    if (!rest.starts_with(kBackslash)) path += kBackslash;
    return path.append(rest);
}

}  // namespace

std::optional<UserPlaylistEntry> ReadEntry(std::string_view line)
{
    const std::string_view text = line.substr(0, line.find('\0'));
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return std::nullopt;
    const std::string_view fromFirst = text.substr(first);

    std::size_t controlsAndSpaces = 0;
    bool invalid = false;
    for (const char byte : fromFirst) {
        const bool control = IsControlCharacter(byte);
        invalid = invalid || control;
        if (control || byte == kSpace) ++controlsAndSpaces;
    }
    // Counted from the first non-space character but compared with the whole text: a line of
    // control characters is passed over only when it does not start with a space.
    if (controlsAndSpaces == text.size()) return std::nullopt;
    if (fromFirst.front() == kCommentMark) return std::nullopt;
    return UserPlaylistEntry{std::string(fromFirst.substr(0, CutLength(fromFirst, kMaxEntryBytes))), invalid};
}

std::string ResolveEntry(const UserPlaylistEntry& entry, char driveLetter, const std::string& playlistFolder)
{
    const std::string& text = entry.text;
    if (entry.invalid) return text;
    if (text.size() > 1 && text[1] == ':') {
        std::string path = text;
        path[0] = driveLetter;
        return path;
    }
    if (text.starts_with(kBackslash)) return std::string{driveLetter, ':'} + text;
    if (text.starts_with(kCurrentFolderStep)) {
        return platform::JoinPath(playlistFolder, text.substr(kCurrentFolderStep.size()));
    }
    if (text.starts_with(kParentFolderStep)) return ResolveClimbing(text, playlistFolder);
    return platform::JoinPath(playlistFolder, text);
}

std::string PlaylistFolderOf(const std::string& playlistPath)
{
    const std::size_t cut = LastBackslash(playlistPath);
    return cut == std::string::npos ? std::string() : playlistPath.substr(0, cut);
}

std::string PlaylistNameOf(const std::string& root, const std::string& playlistPath)
{
    const std::string folder = platform::JoinPath(root, std::string(kUserPlaylistFolderName)) + kBackslash;
    if (playlistPath.size() > folder.size() &&
        platform::EqualsNoCase(std::string_view(playlistPath).substr(0, folder.size()), folder)) {
        return playlistPath.substr(folder.size());
    }
    const std::size_t cut = LastBackslash(playlistPath);
    return cut == std::string::npos ? playlistPath : playlistPath.substr(cut + 1);
}

}  // namespace trayhost
