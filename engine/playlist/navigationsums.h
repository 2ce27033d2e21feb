#pragma once

#include "engine/catalogue/navigationcontext.h"

#include <array>
#include <cstdint>

namespace engine {

// The nine navigation values of an entry, indexed by NavigationValue (kBack1 ... kPrev3).
using NavigationValues = std::array<int64_t, 9>;

// The running byte sums of one playlist file, from which every entry's Back, Next and Prev
// distances follow. Entries must be added in file order.
class NavigationSums {
public:
    // Adds an entry of size bytes and gives its distances. Values of levels the playlist does not
    // have are computed all the same but mean nothing.
    NavigationValues Advance(int32_t size, const NavigationContext& context);

private:
    int64_t fileBytes_ = 0;               // all entries so far
    int64_t levelOneBytes_ = 0;           // entries so far in the current level-1 group
    int64_t innerBytes_ = 0;              // entries so far in the current innermost group
    int64_t previousLevelOneBytes_ = 0;   // all of the previous level-1 group
    int64_t previousInnerBytes_ = 0;      // innerBytes_ after the previous entry
    int64_t previousEntrySize_ = 0;       // previous entry of the same innermost group
    int32_t previousLevelOneOrdinal_ = kLevelAbsent;
};

}  // namespace engine
