#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine {

// Hashes a std::string key and a std::string_view alike, so that the maps below are searched with a
// track's folded text as it is, without a copy.
struct GroupKeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
};

template <typename Value>
using GroupKeyedMap = std::unordered_map<std::string, Value, GroupKeyHash, std::equal_to<>>;

// The bytes a group's entries take in its playlist, known from the scan so that every entry can
// carry the distance to the next group before that group is written. Totals are 64-bit so that a
// huge device cannot overflow them; the writer refuses any that do not fit its fields.
struct GroupTotals {
    int64_t totalBytes = 0;
    // Groups one level down (albums of an artist, artists of a genre), by lower-cased text.
    GroupKeyedMap<int64_t> nestedTotals;
};

// Group totals by lower-cased text.
using GroupMap = GroupKeyedMap<GroupTotals>;

// The map's value for the key, added (value-initialised) when the map has none.
template <typename Value>
Value& ValueFor(GroupKeyedMap<Value>& map, std::string_view key)
{
    auto found = map.find(key);
    if (found == map.end()) found = map.emplace(std::string(key), Value{}).first;
    return found->second;
}

}  // namespace engine
