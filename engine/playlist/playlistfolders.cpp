#include "engine/playlist/playlistfolders.h"

#include "engine/playlist/playlistresult.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace engine {

namespace {

constexpr char kDeviceFolder[] = "kovahdd";
constexpr char kSystemPlaylistFolder[] = "sys_playlist";
constexpr char kUserPlaylistFolder[] = "kovahdd_playlists";

enum class Visibility { Visible, Hidden };

// The player's own folders are hidden when they are created here; one that exists already keeps
// whatever attributes it has.
void Hide(const std::string& folder)
{
    const uint32_t attributes = platform::GetFileAttributes(folder);
    if (attributes == platform::kInvalidAttributes || (attributes & platform::kAttributeHidden) != 0) return;
    platform::SetFileAttributes(folder, attributes | platform::kAttributeHidden);
}

// True when the folder exists afterwards.
bool EnsureFolder(const std::string& folder, Visibility visibility)
{
    if (!platform::CreateDirectory(folder)) return platform::GetLastError() == platform::kErrorAlreadyExists;
    if (visibility == Visibility::Hidden) Hide(folder);
    return true;
}

}  // namespace

int32_t CreatePlaylistFolders(const std::string& root, std::string& playlistFolder)
{
    const std::string deviceFolder = platform::JoinPath(root, kDeviceFolder);
    if (!EnsureFolder(deviceFolder, Visibility::Hidden)) return kDeviceFolderFailed;
    const std::string systemFolder = platform::JoinPath(deviceFolder, kSystemPlaylistFolder);
    if (!EnsureFolder(systemFolder, Visibility::Hidden)) return kPlaylistFolderFailed;
    if (!EnsureFolder(platform::JoinPath(root, kUserPlaylistFolder), Visibility::Visible)) return kDeviceFolderFailed;
    playlistFolder = systemFolder;
    return kPlaylistWritten;
}

}  // namespace engine
