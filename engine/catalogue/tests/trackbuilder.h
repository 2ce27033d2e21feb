#pragma once

#include "engine/catalogue/trackrecord.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace testsupport {

// The tags of a test track. The path defaults to "..\..\" + title + ".mp3" and the file name to
// title + ".mp3".
struct TrackSpec {
    std::string_view artist = "(unknown)";
    std::string_view album = "(unknown)";
    std::string_view title = {};
    std::string_view genre = "(unknown)";
    int32_t track = engine::kNoTrackNumber;
    std::string_view path = {};
    std::string_view fileName = {};
};

inline engine::TrackRecord MakeTrack(const TrackSpec& tags)
{
    engine::TrackRecord record;
    engine::SetText(record.artist, tags.artist);
    engine::SetText(record.album, tags.album);
    engine::SetText(record.title, tags.title);
    engine::SetText(record.genre, tags.genre);
    record.trackNumber = tags.track;
    const std::string fileName = tags.fileName.empty() ? std::string(tags.title) + ".mp3" : std::string(tags.fileName);
    engine::SetText(record.fileName, fileName);
    engine::SetText(record.path, tags.path.empty() ? "..\\..\\" + fileName : std::string(tags.path));
    return record;
}

}  // namespace testsupport
