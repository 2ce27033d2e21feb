#pragma once

#include "engine/catalogue/trackrecord.h"

#include "platform/files.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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

// The tag's bytes after the header, as the frame scan reads them: forwards, a few hundred bytes at
// a time. From memory, or from an open file through a window of bounded size, since the size is
// the file's own claim (up to 256 MiB) and only the frames' first bytes are ever used.
class Id3v2TagBytes {
public:
    static constexpr std::size_t kDefaultWindowSize = 64 * 1024;

    // The whole tag, in memory.
    explicit Id3v2TagBytes(std::string_view bytes);
    // size bytes of the file from offset on, of which firstBytes were read already; windowSize is at
    // least kFrameLookAhead. Reads of the file throw platform::FileError; a file that ends early
    // ends the tag there.
    Id3v2TagBytes(platform::File& file, uint64_t offset, uint64_t size, std::string_view firstBytes,
                  std::size_t windowSize = kDefaultWindowSize);

    uint64_t size() const { return size_; }
    // The bytes from position on, at most length of them (at most the window's size): fewer only at
    // the end of the tag.
    std::string_view At(uint64_t position, std::size_t length);

private:
    void Fill(uint64_t position);

    platform::File* file_ = nullptr;
    uint64_t offset_ = 0;
    uint64_t size_ = 0;
    std::size_t windowSize_ = 0;
    std::string window_;
    uint64_t windowStart_ = 0;
    std::string_view bytes_;  // the whole tag, or the window
};

// Bytes the scan looks at from a frame's start: its header and the first 256 content bytes (the
// encoding byte and the longest text a field takes).
inline constexpr std::size_t kFrameLookAhead = 10 + kTextFieldSize;

// Scans the tag bytes after the header, one byte at a time, for the frames TALB, TIT2, TPE1, TCON
// and TRCK, and stores their texts in the record's album, title, artist, genre and track number.
// Returns the number of hits (0 to kId3v2HitLimit): a repeated frame counts again, and so does a
// frame whose encoding gives no text. Never reads outside the tag: a wanted frame whose header
// or content would run past the end ends the scan without counting.
int32_t ScanId3v2Frames(Id3v2TagBytes& tag, TrackRecord& record);
int32_t ScanId3v2Frames(std::string_view tagBytes, TrackRecord& record);

}  // namespace engine
