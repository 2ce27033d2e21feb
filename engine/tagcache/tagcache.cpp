#include "engine/tagcache/tagcache.h"

namespace engine {

std::optional<TagCache> TagCache::Read(std::string bytes, const TagCacheOwner& owner)
{
    TagCache cache;
    cache.bytes_ = std::make_unique<const std::string>(std::move(bytes));
    std::optional<std::vector<CachedTags>> previous = ReadTagCacheFile(*cache.bytes_, owner);
    if (!previous) return std::nullopt;
    cache.previous_ = std::move(*previous);
    cache.index_.reserve(cache.previous_.size());
    for (std::size_t i = 0; i < cache.previous_.size(); ++i) cache.index_.emplace(cache.previous_[i].devicePath, i);
    return cache;
}

const CachedTags* TagCache::Find(std::string_view devicePath, const platform::FileStamp& stamp) const
{
    const auto found = index_.find(devicePath);
    if (found == index_.end()) return nullptr;
    const CachedTags& tags = previous_[found->second];
    return tags.stamp == stamp ? &tags : nullptr;
}

}  // namespace engine
