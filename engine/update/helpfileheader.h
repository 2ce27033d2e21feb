#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace engine {

// The first 16 bytes of one of the player's help files: the marker "KOVAHDHLP" (exact case), a zero
// byte, five bytes not examined, and a zero byte.
inline constexpr std::size_t kHelpFileHeaderSize = 16;

// False as well when fewer than kHelpFileHeaderSize bytes are given.
bool IsValidHelpFileHeader(std::span<const uint8_t> header);

}  // namespace engine
