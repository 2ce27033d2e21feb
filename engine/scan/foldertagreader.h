#pragma once

#include "engine/catalogue/trackrecord.h"
#include "engine/tagcache/tagcache.h"

#include "platform/files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// What the reading of one audio file gave, for the cache to keep.
struct FileTags {
    int32_t result = 0;                        // the reader's result
    const CachedTags* previous = nullptr;      // the cache's record, when the file kept its stamp
    std::optional<platform::FileStamp> stamp;  // of a file read, when its result may be kept
};

// Reads the tags of the audio files of one folder being walked, open since it was listed. A file
// that has the stamp it had when the last profile read it is not opened: its tags come from the
// cache. Any other is opened by its name in the folder, and what its reader gives is kept in the
// cache for the next profile whenever it follows from the file's bytes alone.
class FolderTagReader {
public:
    FolderTagReader(const platform::Folder& folder, TagCache& cache);

    // Fills the record's tag fields and track number from the entry's file at path, as ReadMp3Tags
    // or ReadWmaAttributes (by the extension) does. devicePath names the file in the cache, below
    // the device's root; empty for a file that must not be cached. Changes nothing but the record,
    // so that several files of the folder may be read at once, on threads of their own.
    FileTags Read(const platform::FolderEntry& entry, const std::string& path, std::string_view devicePath,
                  TrackRecord& record) const;
    // Keeps what a read gave, with the record it filled, for the next profile; files are kept in
    // the order of the walk. Gives the reader's result.
    int32_t Keep(const FileTags& tags, std::string_view devicePath, const TrackRecord& record);

private:
    const CachedTags* Cached(const platform::FolderEntry& entry, std::string_view devicePath) const;

    const platform::Folder& folder_;
    TagCache& cache_;
};

}  // namespace engine
