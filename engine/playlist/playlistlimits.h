#pragma once

#include "engine/catalogue/navigationcontext.h"

#include <cstdint>
#include <vector>

namespace engine {

// True when every number of the playlist fits its field: at most 9999 entries, ordinals and counts
// up to 9999, track numbers of two digits, distances of eight digits (so the entries together stay
// below 100,000,000 bytes). Works out the distances exactly as the writer will, without writing.
bool PlaylistFits(const std::vector<OrderedEntry>& entries, int32_t level);

}  // namespace engine
