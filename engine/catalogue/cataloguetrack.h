#pragma once

#include "engine/catalogue/trackrecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace engine {

// Indexes into CatalogueTrack::navigation.
enum NavigationValue : std::size_t { kBack1, kBack2, kBack3, kNext1, kNext2, kNext3, kPrev1, kPrev2, kPrev3 };

// One audio file as the catalogue keeps it: the texts of its TrackRecord, each taking only its
// length (they live in the catalogue's TrackPool), and the numbers of its entry in the playlist
// being written. The texts the playlists are sorted and grouped by are also kept folded (A-Z to
// a-z, as the case-insensitive comparison folds them), so that a sort compares bytes and a group
// map finds its key without lower-casing again.
struct CatalogueTrack {
    int32_t entryNumber = kNoTrackNumber;  // in the playlist being written
    int32_t entryLength = 0;               // entry size - 1, in the playlist being written
    std::array<int32_t, 9> navigation{};
    std::string_view album;
    std::string_view artist;
    std::string_view title;
    std::string_view genre;
    std::string_view reserved;
    int32_t trackNumber = kNoTrackNumber;
    std::string_view path;
    std::string_view fileName;

    std::string_view foldedAlbum;
    std::string_view foldedArtist;
    std::string_view foldedTitle;
    std::string_view foldedGenre;
    std::string_view foldedFileName;
    // Bytes of the texts every entry carries: album, artist, title, genre, reserved text and path.
    int32_t entryTextBytes = 0;
    // The rank of each folded sort text among those of all the tracks being sorted (equal texts,
    // equal ranks), by SortKey: Artist, Album, Title, Genre, then FileName. Set by
    // RankSortTexts, so that sorts compare numbers.
    std::array<int32_t, 5> textRanks{};
};

}  // namespace engine
