#pragma once

#include "engine/catalogue/trackrecord.h"

#include <cstddef>
#include <string_view>

// The ID3 version 1 tag: the last 128 bytes of an MP3 file.
//   0 "TAG" (case-sensitive), 3 title (30), 33 artist (30), 63 album (30), 93 year (4, unused),
//   97 comment (30, unused), 127 genre index (signed byte).
// Version 1.1 keeps a track number in the comment: byte 125 zero and byte 126 the number.
namespace engine {

inline constexpr std::size_t kId3v1BlockSize = 128;

// Fills the record's fields that are still blank (and a track number still kNoTrackNumber) from a
// block of kId3v1BlockSize bytes. False, with the record untouched, when the block is shorter or
// does not begin with "TAG".
bool ReadId3v1Block(std::string_view block, TrackRecord& record);

}  // namespace engine
