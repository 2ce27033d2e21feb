#include "engine/tagcache/tagcache.h"

namespace engine {

TagCache::TagCache(std::vector<CachedTags> previous) : previous_(std::move(previous))
{
    index_.reserve(previous_.size());
    for (std::size_t i = 0; i < previous_.size(); ++i) index_.emplace(previous_[i].devicePath, i);
}

const CachedTags* TagCache::Find(std::string_view devicePath, const platform::FileStamp& stamp) const
{
    const auto found = index_.find(devicePath);
    if (found == index_.end()) return nullptr;
    const CachedTags& tags = previous_[found->second];
    return tags.stamp == stamp ? &tags : nullptr;
}

}  // namespace engine
