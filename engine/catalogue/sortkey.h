#pragma once

#include <cstdint>

namespace engine {

// What two track records are compared by. Texts compare case-insensitively (A-Z folded);
// NoneA and NoneB compare every pair as equal.
enum class SortKey : int32_t {
    Artist = 0,
    Album = 1,
    Title = 2,
    Genre = 3,
    NoneA = 4,
    FileName = 5,
    NoneB = 6,
    TrackNumber = 7,
};

}  // namespace engine
