#include "engine/playlist/playlistfolders.h"

#include "engine/api/devicefolders.h"
#include "engine/playlist/playlistresult.h"

#include "platform/paths.h"

namespace engine {

int32_t CreatePlaylistFolders(const std::string& root, std::string& playlistFolder)
{
    const std::string deviceFolder = platform::JoinPath(root, std::string(kDeviceFolderName));
    if (!EnsureDeviceFolder(deviceFolder, FolderVisibility::Hidden)) return kDeviceFolderFailed;
    const std::string systemFolder = platform::JoinPath(deviceFolder, std::string(kSystemPlaylistFolderName));
    if (!EnsureDeviceFolder(systemFolder, FolderVisibility::Hidden)) return kPlaylistFolderFailed;
    const std::string userFolder = platform::JoinPath(root, std::string(kUserPlaylistFolderName));
    if (!EnsureDeviceFolder(userFolder, FolderVisibility::Visible)) return kDeviceFolderFailed;
    playlistFolder = systemFolder;
    return kPlaylistWritten;
}

}  // namespace engine
