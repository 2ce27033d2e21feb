#pragma once

#include <string_view>

// Inside the platform library only.
namespace platform {

// FindFirstFile's name match on code-page names: '*' any run of characters, '?' one character (a
// double-byte character is one), everything else equal without regard to case; "*.*" matches
// every name, with or without a dot.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace platform
