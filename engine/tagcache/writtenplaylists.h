#pragma once

#include "platform/files.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace engine {

// The five playlists a finished profile put on the device: a digest of the catalogue they were
// written from, and the stamps their files had afterwards. A profile that finds the same catalogue
// and the same five files on the device need not write them again: it would write the same bytes.
struct WrittenPlaylists {
    static constexpr std::size_t kPlaylists = 5;

    uint64_t catalogueDigest = 0;
    std::array<platform::FileStamp, kPlaylists> files{};  // in the order the playlists are written

    bool operator==(const WrittenPlaylists&) const = default;
};

}  // namespace engine
