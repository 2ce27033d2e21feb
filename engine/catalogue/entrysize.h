#pragma once

#include "engine/catalogue/trackrecord.h"

#include <cstdint>

namespace engine {

// Fixed bytes of every playlist entry whatever its texts: tag, level, number, length, six field
// frames, the path length, two line feeds.
inline constexpr int32_t kEntryFixedBytes = 69;
// Bytes of one navigation group; an entry carries one per level.
inline constexpr int32_t kNavigationGroupBytes = 37;

// The exact number of bytes the record's entry takes in a playlist of entries at this level
// (both lines, line feeds included).
int32_t EntrySize(const TrackRecord& record, int32_t level);

}  // namespace engine
