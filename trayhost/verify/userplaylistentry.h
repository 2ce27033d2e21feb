#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The entries of a user playlist: paths of audio files, absolute, rooted or relative to the
// playlist's folder, in the system code page.
namespace trayhost {

// The device's folder of user playlists, below its root.
inline constexpr std::string_view kUserPlaylistFolderName = "kovahdd_playlists";

// An entry is kept to this many bytes, and so is the path it resolves to.
inline constexpr std::size_t kMaxEntryBytes = 260;

struct UserPlaylistEntry {
    std::string text;      // from the line's first non-space character, at most 260 bytes
    bool invalid = false;  // holds control characters, which the player cannot handle
};

// The entry a line holds (the line without its terminator). Empty for lines the check passes over:
// blank ones, "#" lines (the header and extended information), and lines of control characters and
// spaces only that do not start with a space. The text ends at a NUL byte and is cut to 260 bytes
// without splitting a double-byte character.
std::optional<UserPlaylistEntry> ReadEntry(std::string_view line);

// The full path on the device at driveLetter that the entry names, for a playlist in playlistFolder.
// An invalid entry resolves to itself. "X:..." names the same path on the device whatever drive it
// was written for; "\..." is below the device's root; ".\..." and plain names are below the
// playlist's folder; each leading "..\" climbs one folder, and an entry that climbs past the root is
// left as written (it then names no file).
std::string ResolveEntry(const UserPlaylistEntry& entry, char driveLetter, const std::string& playlistFolder);

// The playlist's folder: its path up to its last backslash.
std::string PlaylistFolderOf(const std::string& playlistPath);

// The name messages give a playlist: its path inside the user playlist folder of the device at root
// ("list.m3u"); the whole path for one outside it.
std::string PlaylistNameOf(const std::string& root, const std::string& playlistPath);

}  // namespace trayhost
