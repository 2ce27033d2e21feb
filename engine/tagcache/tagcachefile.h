#pragma once

#include "engine/tagcache/cachedtags.h"
#include "engine/tagcache/writtenplaylists.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A device's tag cache as a file, all numbers little-endian:
//    0   8  "KOVATAGS"
//    8   4  format version (kTagCacheFormatVersion)
//   12   4  the system code page of every path and text below
//   16   2  length D of the device's identity, then its D bytes
//   then 1 byte: 1 when the playlists the last profile put on the device follow, else 0; they are
//        8 the digest of the catalogue they were written from, then for each of the five playlists
//        8 its size and 8 its last-write time in nanoseconds
//   then one record a file, in the order of the scan:
//        2  length P of the path below the device's root, then its P bytes
//        8  size, then 8 last-write time in nanoseconds since 1970 (signed)
//        4  the reader's result, then 4 the track number (both signed)
//        4 × (1 length L, then L bytes): album, artist, title, genre
//   and at the end: 4 number of records, then 8 the FNV-1a hash of every byte before it.
// A file of another version, code page or device, or one that does not add up, is not read.
namespace engine {

// Raise it whenever this layout changes, a reader comes to give other values for the same file or
// the playlists written from the same songs change: caches of another version are then read no more
// (and the playlists they vouch for are written again), and are replaced after the next profile.
inline constexpr uint32_t kTagCacheFormatVersion = 1;

// Whose tags a cache file holds.
struct TagCacheOwner {
    std::string deviceIdentity;
    uint32_t codePage = 0;
};

// What a cache file holds.
struct TagCacheContent {
    std::optional<WrittenPlaylists> playlists;
    std::vector<CachedTags> files;
    std::vector<std::string_view> fileRecords;  // of each file, its record's bytes in the cache file
};

// A cache file as the pieces it is written in, one after the other: its head, the records (views of
// the writer's records, valid while the writer is unchanged), its tail.
struct TagCacheFileBytes {
    std::string head;
    std::vector<std::string_view> records;
    std::string tail;

    std::vector<std::string_view> Pieces() const;
};

// Gathers the records of a cache file as they come, and makes the file. The records are kept in
// blocks that never move, those of a cache file read before as views of its bytes: a re-profile of
// an unchanged device copies none.
class TagCacheWriter {
public:
    void Add(const CachedTags& file);
    // A record as a cache file of this format holds it (TagCacheContent::fileRecords), which must
    // stay as it is while the writer is used.
    void AddRecord(std::string_view record);
    void SetPlaylists(const WrittenPlaylists& playlists) { playlists_ = playlists; }
    TagCacheFileBytes File(const TagCacheOwner& owner) const;

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    // The end of the last block, with room for size bytes more.
    std::string& BlockWithRoom(std::size_t size);

    std::optional<WrittenPlaylists> playlists_;
    std::vector<std::string> blocks_;           // of records added, each filled up to its capacity only
    std::vector<std::string_view> records_;     // in file order; records that follow each other, one view
    uint32_t count_ = 0;
};

// The content of a cache file of this format and owner, the records' texts views of the bytes;
// empty when the bytes are anything else.
std::optional<TagCacheContent> ReadTagCacheFile(std::string_view bytes, const TagCacheOwner& owner);

}  // namespace engine
