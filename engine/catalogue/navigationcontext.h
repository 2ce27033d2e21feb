#pragma once

#include "engine/catalogue/cataloguetrack.h"

#include <array>
#include <cstdint>

namespace engine {

inline constexpr int32_t kLevelAbsent = -1;
inline constexpr int32_t kLevelCount = 3;

// Where one entry sits in its playlist. Index L - 1 holds level L: the 1-based ordinal of the
// entry's group at levels 1 and 2 (artist or genre, then album or artist) and of the entry itself
// within its innermost group at level 3, and the number of such groups or entries in the
// enclosing group. A level the playlist does not have holds kLevelAbsent in all its values.
struct NavigationContext {
    std::array<int32_t, kLevelCount> ordinal{kLevelAbsent, kLevelAbsent, kLevelAbsent};
    std::array<int32_t, kLevelCount> count{kLevelAbsent, kLevelAbsent, kLevelAbsent};
    int64_t levelOneTotal = kLevelAbsent;  // bytes of the entry's level-1 group
    int64_t levelTwoTotal = kLevelAbsent;  // bytes of the entry's level-2 group

    int32_t Ordinal(int32_t level) const { return ordinal[static_cast<std::size_t>(level - 1)]; }
    int32_t Count(int32_t level) const { return count[static_cast<std::size_t>(level - 1)]; }
};

// One entry of a playlist in output order.
struct OrderedEntry {
    CatalogueTrack* track = nullptr;
    NavigationContext context;
};

}  // namespace engine
