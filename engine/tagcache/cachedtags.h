#pragma once

#include "engine/catalogue/trackrecord.h"

#include "platform/files.h"

#include <cstdint>
#include <string_view>

namespace engine {

// What the tag readers gave for one audio file, with the stamp the file had when it was read: a
// later profile takes these instead of reading the file again while the stamp stays the same. The
// texts are views, of the cache file read or of the record the reader filled.
struct CachedTags {
    std::string_view devicePath;  // below the device's root, as the scan names it ("Music\a.mp3")
    platform::FileStamp stamp;
    int32_t readResult = 0;  // the reader's result, which the scan acts on as on a fresh one
    // The record's fields as the reader left them, before the scan's defaults.
    std::string_view album;
    std::string_view artist;
    std::string_view title;
    std::string_view genre;
    int32_t trackNumber = kNoTrackNumber;

    static CachedTags Of(std::string_view devicePath, const platform::FileStamp& stamp, int32_t readResult,
                         const TrackRecord& record)
    {
        return {devicePath, stamp, readResult, TextOf(record.album), TextOf(record.artist), TextOf(record.title),
                TextOf(record.genre), record.trackNumber};
    }

    // Fills the record's tag fields and track number as the reader did.
    void FillRecord(TrackRecord& record) const
    {
        SetText(record.album, album);
        SetText(record.artist, artist);
        SetText(record.title, title);
        SetText(record.genre, genre);
        record.trackNumber = trackNumber;
    }

    bool operator==(const CachedTags&) const = default;
};

}  // namespace engine
