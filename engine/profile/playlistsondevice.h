#pragma once

#include "engine/catalogue/trackcatalogue.h"
#include "engine/tagcache/writtenplaylists.h"

#include <cstdint>
#include <optional>

namespace engine {

// A digest of the catalogue's track list in its present order: every text and number the playlists
// are made of, the group totals following from them.
uint64_t CatalogueDigest(const TrackCatalogue& catalogue);

// The device's five playlists as they are now, given the digest of the catalogue they are compared
// with; empty when one of them is not there.
std::optional<WrittenPlaylists> PlaylistsOnDevice(const char* root, uint64_t catalogueDigest);

// Whether the last finished profile put all five playlists on the device from a catalogue of this
// digest, and the files are still as it left them.
bool PlaylistsAreCurrent(const char* root, uint64_t catalogueDigest, const std::optional<WrittenPlaylists>& last);

}  // namespace engine
