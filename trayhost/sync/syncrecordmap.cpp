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

}  // namespace trayhost
