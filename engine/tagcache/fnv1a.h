#pragma once

#include <cstdint>
#include <string_view>

namespace engine {

inline constexpr uint64_t kFnv1aStart = 0xcbf29ce484222325;

// The 64-bit FNV-1a hash of bytes that follow those already hashed into hash: a checksum of a cache
// file, a digest of a catalogue, a short stand-in for a long name.
inline uint64_t Fnv1a(std::string_view bytes, uint64_t hash = kFnv1aStart)
{
    constexpr uint64_t kPrime = 0x100000001b3;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= kPrime;
    }
    return hash;
}

}  // namespace engine
