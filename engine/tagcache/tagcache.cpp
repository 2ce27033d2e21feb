#include "engine/tagcache/tagcache.h"

namespace engine {

std::optional<TagCache> TagCache::Read(std::string bytes, const TagCacheOwner& owner)
{
    TagCache cache;
    cache.bytes_ = std::make_unique<const std::string>(std::move(bytes));
    std::optional<TagCacheContent> content = ReadTagCacheFile(*cache.bytes_, owner);
    if (!content) return std::nullopt;
    cache.lastPlaylists_ = content->playlists;
    cache.previous_ = std::move(content->files);
    cache.previousRecords_ = std::move(content->fileRecords);
    cache.index_.reserve(cache.previous_.size());
    for (std::size_t i = 0; i < cache.previous_.size(); ++i) cache.index_.emplace(cache.previous_[i].devicePath, i);
    return cache;
}

const CachedTags* TagCache::Previous(std::string_view devicePath) const
{
    const auto found = index_.find(devicePath);
    return found == index_.end() ? nullptr : &previous_[found->second];
}

void TagCache::Keep(const CachedTags& tags)
{
    next_.Add(tags);
    ++keptRead_;
}

// The record is taken as the file holds it: its bytes stay while the cache does.
void TagCache::KeepPrevious(const CachedTags& previous)
{
    next_.AddRecord(previousRecords_[static_cast<std::size_t>(&previous - previous_.data())]);
    ++keptPrevious_;
}

void TagCache::KeepPlaylists(const WrittenPlaylists& playlists)
{
    next_.SetPlaylists(playlists);
    keptPlaylists_ = playlists;
}

// Every previous record was kept once: a path names one file of a scan.
bool TagCache::KeptAsBefore() const
{
    return bytes_ && keptRead_ == 0 && keptPrevious_ == previous_.size() && keptPlaylists_ == lastPlaylists_;
}

}  // namespace engine
