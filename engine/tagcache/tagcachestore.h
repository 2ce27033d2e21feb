#pragma once

#include "engine/tagcache/tagcache.h"
#include "engine/tagcache/tagcachefile.h"

#include <atomic>
#include <string>

namespace engine {

// Whether profiles take the tags of unchanged files from the device's tag cache (the default), or
// read every file and write its cache anew (KOVAHDDProfilerUseTagCache).
std::atomic<bool>& TagCacheInUse();

// Where a device's tag cache is kept on the computer: one file per device in the user's cache folder
// ($XDG_CACHE_HOME/kovahdd), named after what identifies the device's volume when it is plugged in
// again (platform/volumeidentity.h). Nothing is written on the device. A cache that cannot be read
// or written only makes the profile read every file: it is noted on standard error and no more.
class TagCacheStore {
public:
    // The store of the device at the root; one that loads nothing and saves nothing when the root
    // names no folder or the user has no cache folder.
    explicit TagCacheStore(const char* root);

    // The tags the last finished profile of the device read, when TagCacheInUse(); else, and when
    // there is no cache or it is damaged, of another format, device or code page, an empty cache.
    TagCache Load() const;
    // Replaces the device's cache with the tags the profile kept, unless they are those it holds.
    void Save(const TagCache& cache) const;

    // The cache file, empty for a store that keeps nothing.
    const std::string& Path() const { return path_; }

private:
    TagCacheOwner owner_;
    std::string folder_;
    std::string path_;
};

}  // namespace engine
