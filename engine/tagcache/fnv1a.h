#pragma once

#include <cstdint>
#include <string_view>

namespace engine {

// The 64-bit FNV-1a hash: a checksum of a cache file, and a short stand-in for a long name.
inline uint64_t Fnv1a(std::string_view bytes)
{
    constexpr uint64_t kOffsetBasis = 0xcbf29ce484222325;
    constexpr uint64_t kPrime = 0x100000001b3;
    uint64_t hash = kOffsetBasis;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= kPrime;
    }
    return hash;
}

}  // namespace engine
