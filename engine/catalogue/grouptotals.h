#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace engine {

// The bytes a group's entries take in its playlist, known from the scan so that every entry can
// carry the distance to the next group before that group is written. Totals are 64-bit so that a
// huge device cannot overflow them; the writer refuses any that do not fit its fields.
struct GroupTotals {
    int64_t totalBytes = 0;
    // Groups one level down (albums of an artist, artists of a genre), by lower-cased text.
    std::unordered_map<std::string, int64_t> nestedTotals;
};

// Group totals by lower-cased text.
using GroupMap = std::unordered_map<std::string, GroupTotals>;

}  // namespace engine
