#pragma once

#include "engine/catalogue/sortkey.h"
#include "engine/catalogue/trackrecord.h"

namespace engine {

// <0, 0 or >0 as a sorts before, equal to or after b by the key.
int CompareTracks(const TrackRecord& a, const TrackRecord& b, SortKey key);

// The text the key compares, or null for the keys that compare no text.
const char* SortText(const TrackRecord& record, SortKey key);

}  // namespace engine
