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

    // Whether the last profile read a file at this path: only then is its stamp worth reading.
    bool Knows(std::string_view devicePath) const { return index_.contains(devicePath); }
    // What the last profile read from the file at this path, when the file still has that stamp.
    const CachedTags* Find(std::string_view devicePath, const platform::FileStamp& stamp) const;

    // The tags of a file of this profile, for the next one.
    void Keep(const CachedTags& tags) { next_.Add(tags); }
    // The cache file of what this profile kept.
    std::string NextFile(const TagCacheOwner& owner) const { return next_.File(owner); }

private:
    std::unique_ptr<const std::string> bytes_;  // what the previous records' texts are views of
    std::vector<CachedTags> previous_;
    std::unordered_map<std::string_view, std::size_t> index_;  // path of a previous record: its position
    TagCacheWriter next_;
};

}  // namespace engine
