#pragma once

#include "engine/tagcache/cachedtags.h"
#include "engine/tagcache/writtenplaylists.h"

#include <array>
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
};

// A cache file as the pieces it is written in, one after the other: its head, the records of its
// writer (a view, valid while the writer is unchanged), its tail.
struct TagCacheFileBytes {
    std::string head;
    std::string_view records;
    std::string tail;

    std::array<std::string_view, 3> Pieces() const { return {head, records, tail}; }
};

// Gathers the records of a cache file as they come, and makes the file.
class TagCacheWriter {
public:
    // Room for the records of about this many files: records added one by one to a buffer that
    // grows as they come would copy it over and over, and every copy takes memory never used before.
    void ExpectFiles(std::size_t count);
    void Add(const CachedTags& file);
    void SetPlaylists(const WrittenPlaylists& playlists) { playlists_ = playlists; }
    TagCacheFileBytes File(const TagCacheOwner& owner) const;

private:
    std::optional<WrittenPlaylists> playlists_;
    std::string records_;
    uint32_t count_ = 0;
};

// The content of a cache file of this format and owner, the records' texts views of the bytes;
// empty when the bytes are anything else.
std::optional<TagCacheContent> ReadTagCacheFile(std::string_view bytes, const TagCacheOwner& owner);

}  // namespace engine
