#pragma once

#include "engine/catalogue/trackrecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The ID3 version 2 tag at the start of an MP3 file, as the player reads it:
//   header (10 bytes): "ID3", 2 version bytes, 1 flag byte (none of them examined), then the tag
//     size S in four 7-bit groups, most significant first: the number of tag bytes after the header.
//   frames (version 2.3 layout): 4-byte identifier, 4-byte plain big-endian content size F,
//     2 flag bytes (ignored), F bytes of content. A text frame's first content byte is its
//     encoding; only encoding 0 (bytes in the system code page) gives text.
// No unsynchronisation, extended header or footer handling: the player does none either.
namespace engine {

inline constexpr std::size_t kId3v2HeaderSize = 10;

// The frame scan stops after this many wanted frames have been met.
inline constexpr int32_t kId3v2HitLimit = 5;

// True when the bytes begin with "ID3" (case-sensitive).
bool HasId3v2Marker(std::string_view bytes);

// The tag size S from a header of at least kId3v2HeaderSize bytes. Nothing when the size is
// invalid: zero, or a size byte with its top bit set.
std::optional<uint32_t> Id3v2TagSize(std::string_view header);

// Scans the tag bytes after the header, one byte at a time, for the frames TALB, TIT2, TPE1, TCON
// and TRCK, and stores their texts in the record's album, title, artist, genre and track number.
// Returns the number of hits (0 to kId3v2HitLimit): a repeated frame counts again, and so does a
// frame whose encoding gives no text. Never reads outside tagBytes: a wanted frame whose header
// or content would run past the end ends the scan without counting.
int32_t ScanId3v2Frames(std::string_view tagBytes, TrackRecord& record);

}  // namespace engine
