#pragma once

#include <string_view>

namespace engine {

// The engine's string table: help file names (301-303) and playlist labels (401 + kind).
// Empty for an id the table does not hold.
std::string_view LoadEngineString(int id);

}  // namespace engine
