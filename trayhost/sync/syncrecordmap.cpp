#include "trayhost/sync/syncrecordmap.h"

#include "platform/codepage.h"

namespace trayhost {

std::string SyncRecordMap::KeyOf(std::string_view path)
{
    return platform::ToLowerNoCase(path);
}

SyncFileRecord& SyncRecordMap::Put(SyncFileRecord record)
{
    SyncFileRecord& stored = entries_[KeyOf(record.path)];
    stored = std::move(record);
    return stored;
}

bool SyncRecordMap::Insert(SyncFileRecord record)
{
    return entries_.try_emplace(KeyOf(record.path), std::move(record)).second;
}

SyncFileRecord* SyncRecordMap::Find(std::string_view path)
{
    const auto at = entries_.find(KeyOf(path));
    return at == entries_.end() ? nullptr : &at->second;
}

const SyncFileRecord* SyncRecordMap::Find(std::string_view path) const
{
    const auto at = entries_.find(KeyOf(path));
    return at == entries_.end() ? nullptr : &at->second;
}

bool SyncRecordMap::Remove(std::string_view path)
{
    return entries_.erase(KeyOf(path)) == 1;
}

void SyncRecordMap::RemoveWithin(std::string_view path)
{
    const std::string key = KeyOf(path);
    const std::string below = key + '\\';
    std::erase_if(entries_, [&](const auto& entry) { return entry.first == key || entry.first.starts_with(below); });
}

void SyncRecordMap::CopyWithin(const SyncRecordMap& from, std::string_view path)
{
    const std::string key = KeyOf(path);
    // A drive root ("e:\") ends with its separator already.
    const std::string below = key.ends_with('\\') ? key : key + '\\';
    for (const auto& [fromKey, record] : from) {
        if (fromKey == key || fromKey.starts_with(below)) entries_.insert_or_assign(fromKey, record);
    }
}

}  // namespace trayhost
