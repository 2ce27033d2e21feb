#pragma once

#include "engine/tagcache/cachedtags.h"

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace engine {

// The tags of a device's audio files as the last finished profile read them, and those of the
// profile under way, which the next one will take in their place.
class TagCache {
public:
    TagCache() = default;
    explicit TagCache(std::vector<CachedTags> previous);
    TagCache(const TagCache&) = delete;
    TagCache& operator=(const TagCache&) = delete;
    TagCache(TagCache&&) = default;
    TagCache& operator=(TagCache&&) = default;

    // Whether the last profile read a file at this path: only then is its stamp worth reading.
    bool Knows(std::string_view devicePath) const { return index_.contains(devicePath); }
    // What the last profile read from the file at this path, when the file still has that stamp.
    const CachedTags* Find(std::string_view devicePath, const platform::FileStamp& stamp) const;

    // The tags of a file of this profile, for the next one.
    void Keep(CachedTags tags) { kept_.push_back(std::move(tags)); }
    const std::vector<CachedTags>& Kept() const { return kept_; }

private:
    std::vector<CachedTags> previous_;
    std::unordered_map<std::string_view, std::size_t> index_;  // path of a previous record: its position
    std::vector<CachedTags> kept_;
};

}  // namespace engine
