#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace engine {

// Number of named genres; ID3v1 genre indexes 0 to 125 have a name, 126 and above do not.
inline constexpr int32_t kGenreCount = 126;

// The genre table's name for an index, or nothing for an index without a name.
std::optional<std::string_view> GenreName(int32_t index);

}  // namespace engine
