#pragma once

#include "engine/catalogue/trackrecord.h"

#include "platform/files.h"

#include <cstdint>
#include <string>

namespace engine {

// What the tag readers gave for one audio file, with the stamp the file had when it was read: a
// later profile takes these instead of reading the file again while the stamp stays the same.
struct CachedTags {
    std::string devicePath;  // below the device's root, as the scan names it ("Music\a.mp3")
    platform::FileStamp stamp;
    int32_t readResult = 0;  // the reader's result, which the scan acts on as on a fresh one
    // The record's fields as the reader left them, before the scan's defaults.
    std::string album;
    std::string artist;
    std::string title;
    std::string genre;
    int32_t trackNumber = kNoTrackNumber;

    static CachedTags Of(std::string_view devicePath, const platform::FileStamp& stamp, int32_t readResult,
                         const TrackRecord& record)
    {
        return {std::string(devicePath), stamp, readResult, std::string(TextOf(record.album)),
                std::string(TextOf(record.artist)), std::string(TextOf(record.title)),
                std::string(TextOf(record.genre)), record.trackNumber};
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
