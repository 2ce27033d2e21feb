#pragma once

#include <cstdint>

namespace engine {

// Results of the playlist writer's operations.
enum PlaylistResult : int32_t {
    kPlaylistWritten = 1,
    kPlaylistFailed = 0,            // missing argument, or a file error while writing
    kPlaylistFolderFailed = -1,     // "sys_playlist" cannot be created
    kPlaylistFileFailed = -2,       // the playlist file cannot be created
    kDeviceFolderFailed = -4,       // "kovahdd" or "kovahdd_playlists" cannot be created
    kInvalidPlaylistKind = -6,
    kPlaylistTooLarge = -7,         // a number would not fit its field; nothing was written
};

}  // namespace engine
