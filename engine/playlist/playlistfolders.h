#pragma once

#include <cstdint>
#include <string>

namespace engine {

// Makes sure the device's folders for playlists exist: the hidden "kovahdd" folder with the hidden
// "sys_playlist" folder inside, and the user playlist folder "kovahdd_playlists" at the root.
// Folders already there are kept as they are. Gives kPlaylistWritten and the "sys_playlist" path,
// kDeviceFolderFailed or kPlaylistFolderFailed.
int32_t CreatePlaylistFolders(const std::string& root, std::string& playlistFolder);

}  // namespace engine
