#pragma once

#include <string>
#include <string_view>

namespace trayhost {

// Gives the playlist at path new content without ever leaving it half written: the content goes to
// a temporary file beside it, which is flushed to the device, given the playlist's hidden, system and
// archive attributes, and renamed over the playlist only when all of that worked. False when a step
// failed (a full disk, an unplugged device, a read-only playlist); the playlist is then as it was,
// and the temporary file is gone wherever the device still lets it be deleted.
bool ReplacePlaylist(const std::string& path, std::string_view content);

// The temporary file ReplacePlaylist writes for the playlist at path.
std::string ReplacementPathOf(const std::string& path);

}  // namespace trayhost
