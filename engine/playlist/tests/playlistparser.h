#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

struct ParsedNavigationGroup {
    int32_t ordinal = 0;
    int32_t count = 0;
    int64_t back = 0;
    std::optional<int64_t> next;  // empty for "xxxxxxxx"
    int64_t prev = 0;
};

// Field order of an entry's texts.
enum ParsedField : std::size_t { kAlbumField, kArtistField, kTitleField, kGenreField, kTrackField, kReservedField };

struct ParsedEntry {
    std::size_t offset = 0;  // from the first entry, as the distances count
    std::size_t size = 0;
    int32_t level = 0;
    int32_t number = 0;
    int32_t length = 0;
    std::array<std::string, 6> fields;
    std::vector<ParsedNavigationGroup> groups;  // one per level present, outermost first
    std::string path;
};

struct ParsedPlaylist {
    std::string header;  // without its line feed
    std::vector<ParsedEntry> entries;
    std::size_t entryBytes = 0;
};

// Reads a system playlist by its length prefixes and fixed widths only, as the player does.
// Throws std::runtime_error at the first byte that does not fit the format.
ParsedPlaylist ParsePlaylist(std::string_view bytes);

}  // namespace testsupport
