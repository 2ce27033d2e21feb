#include "engine/api/devicefolders.h"

#include "platform/errors.h"
#include "platform/files.h"


namespace engine {

namespace {

std::string FolderAtRoot(char drive, std::string_view name)
{
    return std::string(1, drive) + ":\\" + std::string(name);
}

void AddHiddenAttribute(const std::string& folder)
{
    const uint32_t attributes = platform::GetFileAttributes(folder);
    if (attributes == platform::kInvalidAttributes || (attributes & platform::kAttributeHidden) != 0) return;
    platform::SetFileAttributes(folder, attributes | platform::kAttributeHidden);
}

}  // namespace

std::string DeviceSystemFolder(char drive)
{
    return FolderAtRoot(drive, kDeviceFolderName);
}

std::string DeviceUserPlaylistFolder(char drive)
{
    return FolderAtRoot(drive, kUserPlaylistFolderName);
}

bool EnsureDeviceFolder(const std::string& folder, FolderVisibility visibility)
{
    if (!platform::CreateDirectory(folder)) return platform::GetLastError() == platform::kErrorAlreadyExists;
    if (visibility == FolderVisibility::Hidden) AddHiddenAttribute(folder);
    return true;
}

}  // namespace engine
