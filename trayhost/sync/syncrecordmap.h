#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace trayhost {

// What a sync run knows of one file or folder: found by a tree scan, remembered in the state file
// between runs.
struct SyncFileRecord {
    std::string path;      // full path in the letter case found on disk, at most 260 characters
    int32_t modTime = 0;   // last-write time, whole seconds since 1970-01-01 00:00 UTC
    uint32_t size = 0;     // low 32 bits of the file size; 0 for a folder
    bool changed = false;  // the file differs from the record of the last run
    bool isFolder = false;
    // The DOS attributes the run's scan listed; 0 for a record the scan did not make. Not kept in
    // the state file.
    uint32_t attributes = 0;
    // The bits of the size above the low 32, as the run's scan listed them; not kept in the state file.
    uint32_t sizeAbove32Bits = 0;

    uint64_t FullSize() const { return uint64_t{sizeAbove32Bits} << 32 | size; }

    bool operator==(const SyncFileRecord&) const = default;
};

// Records keyed by their path lower-cased through the system code page (double-byte characters
// intact), so that every lookup finds a path whatever its letter case, as Windows names compare.
// The map owns its records.
class SyncRecordMap {
public:
    using Entries = std::unordered_map<std::string, SyncFileRecord>;

    // The key of a path: the path lower-cased.
    static std::string KeyOf(std::string_view path);

    // Stores the record under its path's key, replacing the record stored there; returns the stored one.
    SyncFileRecord& Put(SyncFileRecord record);
    // Stores the record unless a record is stored under its path's key; false then, that one kept.
    bool Insert(SyncFileRecord record);
    // The record stored under the path's key; null when there is none.
    SyncFileRecord* Find(std::string_view path);
    const SyncFileRecord* Find(std::string_view path) const;
    bool Contains(std::string_view path) const { return Find(path) != nullptr; }
    // False when there was no record under the path's key.
    bool Remove(std::string_view path);
    // Removes the record of the path and every record below it (when it is a folder's).
    void RemoveWithin(std::string_view path);
    // Stores a copy of the record of the path in another map, and of every record below it there.
    void CopyWithin(const SyncRecordMap& from, std::string_view path);
    void Clear() { entries_.clear(); }

    bool operator==(const SyncRecordMap&) const = default;

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // Key and record pairs, in no particular order. A record's path must keep its key.
    Entries::iterator begin() { return entries_.begin(); }
    Entries::iterator end() { return entries_.end(); }
    Entries::const_iterator begin() const { return entries_.begin(); }
    Entries::const_iterator end() const { return entries_.end(); }

private:
    Entries entries_;
};

}  // namespace trayhost
