#include "engine/update/helpfileheader.h"

#include <algorithm>
#include <array>

namespace engine {

namespace {

constexpr std::array<uint8_t, 9> kHelpFileMarker = {0x4B, 0x4F, 0x56, 0x41, 0x48, 0x44, 0x48, 0x4C, 0x50};  // "KOVAHDHLP"
constexpr std::size_t kMarkerEndOffset = 9;
constexpr std::size_t kLastOffset = 15;

}  // namespace

bool IsValidHelpFileHeader(std::span<const uint8_t> header)
{
    if (header.size() < kHelpFileHeaderSize) return false;
    return std::equal(kHelpFileMarker.begin(), kHelpFileMarker.end(), header.begin()) &&
           header[kMarkerEndOffset] == 0 && header[kLastOffset] == 0;
}

}  // namespace engine
