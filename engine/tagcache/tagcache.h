#pragma once

#include "engine/tagcache/cachedtags.h"
#include "engine/tagcache/tagcachefile.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace engine {

// The tags of a device's audio files as the last finished profile read them, and those of the
// profile under way, which the next one will take in their place.
class TagCache {
public:
    // A cache that knows no file yet.
    TagCache() = default;
    // The cache of a file's bytes; empty when they are not a cache file of this format and owner.
    static std::optional<TagCache> Read(std::string bytes, const TagCacheOwner& owner);

    // What the last profile read from a file at this path, with the stamp the file had then; null
    // for a file it did not read.
    const CachedTags* Previous(std::string_view devicePath) const;

    // The playlists the last finished profile put on the device, when it put all five there.
    const std::optional<WrittenPlaylists>& LastPlaylists() const { return lastPlaylists_; }

    // The tags of a file of this profile, for the next one: read now, or a previous record.
    void Keep(const CachedTags& tags);
    // previous: what Previous gave.
    void KeepPrevious(const CachedTags& previous);
    // The playlists this profile put on the device, for the next one.
    void KeepPlaylists(const WrittenPlaylists& playlists);
    // Whether this profile kept all that the last one did and nothing else: its file would say the same.
    bool KeptAsBefore() const;
    // The cache file of what this profile kept, valid while the cache is unchanged.
    TagCacheFileBytes NextFile(const TagCacheOwner& owner) const { return next_.File(owner); }

private:
    std::unique_ptr<const std::string> bytes_;  // what the previous records' texts are views of
    std::optional<WrittenPlaylists> lastPlaylists_;
    std::vector<CachedTags> previous_;
    std::vector<std::string_view> previousRecords_;  // of each previous file, its record in bytes_
    std::unordered_map<std::string_view, std::size_t> index_;  // path of a previous record: its position
    TagCacheWriter next_;
    std::size_t keptPrevious_ = 0;
    std::size_t keptRead_ = 0;
    std::optional<WrittenPlaylists> keptPlaylists_;
};

}  // namespace engine
