#pragma once

#include "engine/catalogue/trackrecord.h"

#include "platform/files.h"

#include <cstdint>

namespace engine {

// Results of ReadMp3Tags and ReadId3v1Tag. The scanner tells apart only kMp3FileException (asks
// whether the device is still there) and kMp3EmptyFile (leaves the file out).
enum Mp3TagResult : int32_t {
    kMp3TagsRead = 1,         // from version 2, version 1, or both
    kMp3NullArgument = 0,
    kMp3CannotOpen = -1,
    kMp3TooShort = -2,        // under 10 bytes but not empty, or under 128 bytes read from the end
    kMp3NoId3v1Tag = -3,      // the last 128 bytes do not begin with "TAG"
    kMp3InvalidTagSize = -4,  // ID3v2 tag size zero or a size byte with its top bit set
    kMp3FileException = -5,   // a read or seek failed, including a seek before the start of a short file
    kMp3EmptyFile = -6,
};

// Fills the record's album, artist, title, genre and track number from the MP3 file at path
// (Windows-style, system code page): from the ID3v2 tag at the start of the file, then from the
// ID3v1 tag for the fields still blank unless the version 2 scan met five wanted frames. Leaves
// what it cannot read untouched; fields filled before a failure stay filled.
int32_t ReadMp3Tags(const char* path, TrackRecord* record);
// The same from a file already open for reading (the results of the path form but kMp3NullArgument
// and kMp3CannotOpen). The file is taken to be as long as it was when opened.
int32_t ReadMp3Tags(platform::File& file, TrackRecord& record);

// The ID3v1 part alone: fills the record's blank fields from the file's last 128 bytes.
// Results kMp3TagsRead, kMp3NullArgument, kMp3CannotOpen, kMp3TooShort, kMp3NoId3v1Tag, kMp3FileException.
int32_t ReadId3v1Tag(const char* path, TrackRecord* record);

}  // namespace engine
