#pragma once

#include "platform/files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The ASF header object at the start of a WMA file, as far as the attribute reader trusts it before
// TagLib reads it (all numbers little-endian):
//   header object   GUID (16), size Q (8, the whole object), object count (4), 2 reserved bytes,
//                   then the objects
//   object          GUID (16), size Q (8, counting these 24 bytes), content
//   extended content description   attribute count (2), then attributes of 6 bytes at least
//                   (name length, type, value length, then the name and the value)
//   header extension                18 reserved bytes, data size (4), then objects, among them
//     metadata, metadata library    record count (2), then records of 12 bytes at least
// TagLib believes every count: a damaged count of 63,748 attributes in a 156-byte file cost it
// 0.2 s and 60 MB of phantom attributes read past the end. The reader therefore hands TagLib the
// header object's bytes alone, after checking that no count claims more than its object holds.
namespace engine {

// Headers larger than this are refused as damaged: real ones hold a few attributes and perhaps a
// picture, and the header is read into memory whole.
inline constexpr uint64_t kMaxAsfHeaderSize = 16 * 1024 * 1024;

// The bytes of the file's header object, from its start: as many as it claims, cut to what the
// file holds. Empty when the file does not begin with an ASF header object or it claims more than
// kMaxAsfHeaderSize. Throws platform::FileError when reading fails.
std::optional<std::string> ReadAsfHeaderObject(platform::File& file);

// False when an attribute-bearing object claims more attributes than its bytes (within the header
// given) could hold.
bool AsfAttributeCountsFit(std::string_view header);

}  // namespace engine
