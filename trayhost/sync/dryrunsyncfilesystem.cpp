#include "trayhost/sync/dryrunsyncfilesystem.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "trayhost/sync/syncrecordmap.h"

#include <algorithm>
#include <utility>

namespace trayhost {

namespace {

// Where each "\" of the path is, a character of its own.
std::vector<std::size_t> Separators(const std::string& path)
{
    const platform::CodePage& page = platform::CodePage::System();
    std::vector<std::size_t> separators;
    for (std::size_t i = 0; i < path.size(); i += page.CharacterSize(path, i)) {
        if (path[i] == '\\' && page.CharacterSize(path, i) == 1) separators.push_back(i);
    }
    return separators;
}

// The folder holding the path ("E:\Music" for "E:\Music\a.mp3"); empty when there is none.
std::string FolderOf(const std::string& path)
{
    const std::vector<std::size_t> separators = Separators(path);
    return separators.empty() ? std::string() : path.substr(0, separators.back());
}

bool Fail(uint32_t error)
{
    platform::SetLastError(error);
    return false;
}

}  // namespace

bool DryRunSyncFileSystem::IsDeleted(const std::string& path) const
{
    if (deleted_.empty()) return false;
    const std::string key = SyncRecordMap::KeyOf(path);
    if (deleted_.contains(key)) return true;
    const std::vector<std::size_t> separators = Separators(key);
    return std::any_of(separators.begin(), separators.end(),
                       [&](std::size_t at) { return deleted_.contains(key.substr(0, at)); });
}

std::optional<std::vector<platform::FolderEntry>> DryRunSyncFileSystem::FindFiles(const std::string& pattern)
{
    const std::string folder = FolderOf(pattern);
    if (IsDeleted(folder)) {
        platform::SetLastError(platform::kErrorPathNotFound);
        return std::nullopt;
    }
    std::optional<std::vector<platform::FolderEntry>> entries = disk_.FindFiles(pattern);
    if (!entries) return entries;
    std::erase_if(*entries, [&](const platform::FolderEntry& entry) {
        return entry.name != "." && entry.name != ".." && IsDeleted(platform::JoinPath(folder, entry.name));
    });
    return entries;
}

bool DryRunSyncFileSystem::Exists(const std::string& path)
{
    if (IsDeleted(path)) return Fail(platform::kErrorFileNotFound);
    const std::string key = SyncRecordMap::KeyOf(path);
    return madeFolders_.contains(key) || copiedFrom_.contains(key) || disk_.Exists(path);
}

uint32_t DryRunSyncFileSystem::GetAttributes(const std::string& path)
{
    if (IsDeleted(path)) {
        platform::SetLastError(platform::kErrorFileNotFound);
        return platform::kInvalidAttributes;
    }
    const std::string key = SyncRecordMap::KeyOf(path);
    if (madeFolders_.contains(key)) return platform::kAttributeDirectory;
    const auto copied = copiedFrom_.find(key);
    return disk_.GetAttributes(copied == copiedFrom_.end() ? path : copied->second);
}

std::optional<SyncFileStatus> DryRunSyncFileSystem::StatusOf(const std::string& path)
{
    if (IsDeleted(path)) return std::nullopt;
    const auto copied = copiedFrom_.find(SyncRecordMap::KeyOf(path));
    return disk_.StatusOf(copied == copiedFrom_.end() ? path : copied->second);
}

bool DryRunSyncFileSystem::SetAttributes(const std::string& path, uint32_t)
{
    return Exists(path) || Fail(platform::kErrorFileNotFound);
}

bool DryRunSyncFileSystem::CreateDirectory(const std::string& path)
{
    if (Exists(path)) return Fail(platform::kErrorAlreadyExists);
    if (!Exists(FolderOf(path))) return Fail(platform::kErrorPathNotFound);
    const std::string key = SyncRecordMap::KeyOf(path);
    deleted_.erase(key);
    madeFolders_.insert(key);
    return true;
}

bool DryRunSyncFileSystem::CreateFolderPath(const std::string& path, uint32_t&)
{
    // Every level of the file's folder below the drive's root.
    const std::vector<std::size_t> separators = Separators(path);
    for (std::size_t i = 1; i < separators.size(); ++i) {
        const std::string level = path.substr(0, separators[i]);
        if (!Exists(level)) madeFolders_.insert(SyncRecordMap::KeyOf(level));
    }
    return true;
}

bool DryRunSyncFileSystem::StartCopy(const SyncCopy& copy)
{
    if (!Exists(copy.from)) return Fail(platform::kErrorFileNotFound);
    const auto earlier = copiedFrom_.find(SyncRecordMap::KeyOf(copy.from));
    const std::string source = earlier == copiedFrom_.end() ? copy.from : earlier->second;
    const std::string key = SyncRecordMap::KeyOf(copy.to);
    deleted_.erase(key);
    copiedFrom_[key] = source;
    started_.push_back({.error = platform::kErrorSuccess, .status = disk_.StatusOf(source)});
    return true;
}

std::vector<SyncCopyOutcome> DryRunSyncFileSystem::FinishCopies()
{
    return std::exchange(started_, {});
}

bool DryRunSyncFileSystem::DeleteFile(const std::string& path)
{
    if (!Exists(path)) return false;
    const std::string key = SyncRecordMap::KeyOf(path);
    copiedFrom_.erase(key);
    deleted_.insert(key);
    return true;
}

bool DryRunSyncFileSystem::RemoveDirectory(const std::string& path)
{
    if (!Exists(path)) return false;
    const std::optional<std::vector<platform::FolderEntry>> entries = FindFiles(platform::JoinPath(path, "*"));
    const bool empty = !entries || std::all_of(entries->begin(), entries->end(), [](const platform::FolderEntry& entry) {
        return entry.name == "." || entry.name == "..";
    });
    if (!empty) return Fail(platform::kErrorDirNotEmpty);
    const std::string key = SyncRecordMap::KeyOf(path);
    madeFolders_.erase(key);
    deleted_.insert(key);
    return true;
}

}  // namespace trayhost
