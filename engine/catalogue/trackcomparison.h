#pragma once

#include "engine/catalogue/cataloguetrack.h"
#include "engine/catalogue/sortkey.h"

#include <string_view>

namespace engine {

// A folded text of a track. Folded texts compare byte by byte exactly as the case-insensitive
// comparison compares the texts themselves.
using FoldedText = std::string_view CatalogueTrack::*;

// <0, 0 or >0 as a sorts before, equal to or after b by the key.
int CompareTracks(const CatalogueTrack& a, const CatalogueTrack& b, SortKey key);

// The folded text the key compares, or null for the keys that compare no text.
FoldedText FoldedSortText(SortKey key);

}  // namespace engine
