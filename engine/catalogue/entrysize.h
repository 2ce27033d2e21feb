#pragma once

#include "engine/catalogue/cataloguetrack.h"

#include <cstdint>

namespace engine {

// Fixed bytes of every playlist entry whatever its texts: tag, level, number, length, six field
// frames, the path length, two line feeds.
inline constexpr int32_t kEntryFixedBytes = 69;
// Bytes of one navigation group; an entry carries one per level.
inline constexpr int32_t kNavigationGroupBytes = 37;

// The exact number of bytes the track's entry takes in a playlist of entries at this level
// (both lines, line feeds included).
inline int32_t EntrySize(const CatalogueTrack& track, int32_t level)
{
    return kNavigationGroupBytes * level + kEntryFixedBytes + track.entryTextBytes;
}

}  // namespace engine
