#pragma once

#include "engine/catalogue/navigationcontext.h"
#include "engine/catalogue/playlistkind.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/catalogue/cataloguetrack.h"
#include "engine/playlist/playlistentry.h"
#include "engine/playlist/playlistfile.h"
#include "engine/playlist/playlistresult.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Writes the system playlists "artist.m3u", "album.m3u", "title.m3u", "genre.m3u" and
// "audiofiles.m3u" into root\kovahdd\sys_playlist. A playlist is written in two calls, header then
// body, into a temporary file; it replaces the device's previous one only when the caller puts the
// complete playlist in place (PlaylistFile::PutInPlace), so that a run can replace all five together.
namespace engine {

// The file name of the kind's playlist in the "sys_playlist" folder; empty for no playlist kind.
std::string_view PlaylistFileName(PlaylistKind kind);

// Creates the folders (PlaylistFolders), then the playlist's file with its header line; the file
// stays open in playlist for WritePlaylistEntries. kPlaylistWritten, or kPlaylistFailed (null root,
// file error), kPlaylistFolderFailed, kPlaylistFileFailed, kDeviceFolderFailed, kInvalidPlaylistKind.
int32_t WritePlaylistHeader(const char* root, PlaylistKind kind, PlaylistFile& playlist);

// Writes every entry of the catalogue sorted for the kind (TrackCatalogue::OrderedEntries), and
// leaves the playlist complete in its temporary file, closed. kPlaylistWritten; kPlaylistFailed
// for a playlist without header, or a file error (playlist.Failure() tells which);
// kInvalidPlaylistKind; kPlaylistTooLarge for more entries than the player numbers or a number that
// would not fit its field. On every failure the temporary file is removed.
int32_t WritePlaylistEntries(PlaylistFile& playlist, PlaylistKind kind, const std::vector<OrderedEntry>& entries);

// Writes the next entry of the playlist and stores in the track its entry number, entry length
// and navigation values. 1, or 0 when the playlist is not open or the level is not 1 to 3.
// Throws platform::FileError when the write fails.
int32_t WritePlaylistEntry(PlaylistFile& playlist, CatalogueTrack& track, int32_t level,
                           const NavigationContext& context, int32_t entryNumber);

}  // namespace engine
