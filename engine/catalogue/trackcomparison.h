#pragma once

#include "engine/catalogue/cataloguetrack.h"
#include "engine/catalogue/sortkey.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace engine {

// A folded text of a track. Folded texts compare byte by byte exactly as the case-insensitive
// comparison compares the texts themselves.
using FoldedText = std::string_view CatalogueTrack::*;

// <0, 0 or >0 as a sorts before, equal to or after b by the key.
int CompareTracks(const CatalogueTrack& a, const CatalogueTrack& b, SortKey key);

// The folded text the key compares, or null for the keys that compare no text.
FoldedText FoldedSortText(SortKey key);

// Sets every track's textRanks among the given tracks: a track's rank for a key orders it against
// any other of them as its folded text does.
void RankSortTexts(std::span<CatalogueTrack* const> tracks);

// The track number, or the rank of the key's text (RankSortTexts); 0 for the keys that compare
// nothing. Orders two tracks as CompareTracks does.
int64_t NumericSortKey(const CatalogueTrack& track, SortKey key);

}  // namespace engine
