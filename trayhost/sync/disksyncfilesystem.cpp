#include "trayhost/sync/disksyncfilesystem.h"

#include "platform/replacingcopy.h"
#include "trayhost/sync/syncpaths.h"

namespace trayhost {

std::optional<std::vector<platform::FolderEntry>> DiskSyncFileSystem::FindFiles(const std::string& pattern)
{
    return platform::FindFiles(pattern);
}

bool DiskSyncFileSystem::Exists(const std::string& path)
{
    return platform::FileExists(path);
}

uint32_t DiskSyncFileSystem::GetAttributes(const std::string& path)
{
    return platform::GetFileAttributes(path);
}

std::optional<SyncFileStatus> DiskSyncFileSystem::StatusOf(const std::string& path)
{
    const std::optional<platform::File> file = platform::File::TryOpen(path, platform::File::Mode::Read);
    const std::optional<int64_t> modTime = platform::GetLastWriteTime(path);
    if (!file || !modTime) return std::nullopt;
    return SyncFileStatus{static_cast<int32_t>(*modTime), static_cast<uint32_t>(file->Length())};
}

bool DiskSyncFileSystem::SetAttributes(const std::string& path, uint32_t attributes)
{
    return platform::SetFileAttributes(path, attributes);
}

bool DiskSyncFileSystem::CreateDirectory(const std::string& path)
{
    return platform::CreateDirectory(path);
}

bool DiskSyncFileSystem::CreateFolderPath(const std::string& path, uint32_t& error)
{
    // The path names a file, whatever its text looks like: its folder is all there is to make.
    return CreateFolderAndParents(path.substr(0, NameOffset(path)), &error);
}

bool DiskSyncFileSystem::CopyFile(const SyncCopy& copy, std::optional<SyncFileStatus>& status)
{
    std::optional<platform::CopiedFile> copied;
    if (!platform::CopyFileReplacing(copy.from, copy.to, {&cancel_, copy.attributes, copy.targetIsNew}, &copied)) {
        return false;
    }
    status.reset();
    if (copied) status = SyncFileStatus{static_cast<int32_t>(copied->lastWriteTime), static_cast<uint32_t>(copied->size)};
    return true;
}

bool DiskSyncFileSystem::DeleteFile(const std::string& path)
{
    return platform::DeleteFile(path);
}

bool DiskSyncFileSystem::RemoveDirectory(const std::string& path)
{
    return platform::RemoveDirectory(path);
}

}  // namespace trayhost
