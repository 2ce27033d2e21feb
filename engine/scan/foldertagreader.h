#pragma once

#include "engine/catalogue/trackrecord.h"
#include "engine/tagcache/tagcache.h"

#include "platform/files.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// Reads the tags of the audio files of one folder being walked, open since it was listed. A file
// that has the stamp it had when the last profile read it is not opened: its tags come from the
// cache. Any other is opened by its name in the folder, and what its reader gives is kept in the
// cache for the next profile whenever it follows from the file's bytes alone.
class FolderTagReader {
public:
    FolderTagReader(const std::string& folderPath, const platform::Folder& folder, TagCache& cache);

    const std::string& FolderPath() const { return folderPath_; }

    // Fills the record's tag fields and track number from the entry's file at path, as ReadMp3Tags
    // or ReadWmaAttributes (by the extension) does, and gives that reader's result. devicePath names
    // the file in the cache, below the device's root; empty for a file that must not be cached.
    int32_t Read(const platform::FolderEntry& entry, const std::string& path, std::string_view devicePath,
                 TrackRecord& record);

private:
    const CachedTags* Cached(const platform::FolderEntry& entry, std::string_view devicePath);

    const std::string& folderPath_;
    const platform::Folder& folder_;
    TagCache& cache_;
};

}  // namespace engine
