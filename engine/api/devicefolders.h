#pragma once

#include <string>
#include <string_view>

// The folders the engine keeps on a device, below its root.
namespace engine {

inline constexpr std::string_view kDeviceFolderName = "kovahdd";                  // hidden
inline constexpr std::string_view kSystemPlaylistFolderName = "sys_playlist";     // hidden, in "kovahdd"
inline constexpr std::string_view kHelpFolderName = "sys_help";                   // in "kovahdd"
inline constexpr std::string_view kUserPlaylistFolderName = "kovahdd_playlists";

enum class FolderVisibility { Visible, Hidden };

// The device's system folder "%c:\kovahdd".
std::string DeviceSystemFolder(char drive);
// The device's user playlist folder "%c:\kovahdd_playlists".
std::string DeviceUserPlaylistFolder(char drive);

// Makes sure the folder exists. A folder created now is hidden when asked to be; one that exists
// already keeps its attributes. False when it neither exists nor can be created.
bool EnsureDeviceFolder(const std::string& folder, FolderVisibility visibility);

}  // namespace engine
