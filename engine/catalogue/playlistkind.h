#pragma once

#include <cstdint>

namespace engine {

// The five system playlists. The values are the label ids' offsets from 401 in the string table;
// 4 is no playlist.
enum class PlaylistKind : int32_t {
    Artist = 0,
    Album = 1,
    Title = 2,
    Genre = 3,
    AudioFiles = 5,
};

inline constexpr int kPlaylistLabelBaseId = 401;

// False for a value outside the five kinds (a caller may hand in any integer).
inline bool IsPlaylistKind(PlaylistKind kind)
{
    switch (kind) {
    case PlaylistKind::Artist:
    case PlaylistKind::Album:
    case PlaylistKind::Title:
    case PlaylistKind::Genre:
    case PlaylistKind::AudioFiles:
        return true;
    }
    return false;
}

// The level written in every entry of the kind: 3 for the artist and genre trees, 2 for albums,
// 1 for the flat lists. It is also the number of navigation groups an entry carries.
inline int32_t EntryLevel(PlaylistKind kind)
{
    switch (kind) {
    case PlaylistKind::Artist:
    case PlaylistKind::Genre:
        return 3;
    case PlaylistKind::Album:
        return 2;
    case PlaylistKind::Title:
    case PlaylistKind::AudioFiles:
        return 1;
    }
    return 0;
}

}  // namespace engine
