#include "engine/mp3/id3v1tag.h"

#include "engine/mp3/genretable.h"
#include "engine/mp3/tagtext.h"
#include "engine/scan/blanktext.h"

#include <cstdint>

namespace engine {

namespace {

constexpr std::string_view kMarker = "TAG";
constexpr std::size_t kTitleOffset = 3;
constexpr std::size_t kArtistOffset = 33;
constexpr std::size_t kAlbumOffset = 63;
constexpr std::size_t kTextSize = 30;
constexpr std::size_t kTrackZeroOffset = 125;  // comment byte 28: zero in version 1.1
constexpr std::size_t kTrackOffset = 126;      // comment byte 29
constexpr std::size_t kGenreOffset = 127;

constexpr int32_t kLowestTrackNumber = 1;
constexpr int32_t kHighestTrackNumber = 99;

// Bytes read as the player's signed char, so that 128 to 255 are negative.
int32_t SignedByteAt(std::string_view block, std::size_t offset)
{
    return static_cast<int8_t>(block[offset]);
}

template <std::size_t N>
void FillBlankText(char (&field)[N], std::string_view block, std::size_t offset)
{
    if (!IsBlankText(TextOf(field))) return;
    SetText(field, TrimTagText(TextUpToZero(block.substr(offset, kTextSize))));
}

void FillTrackNumber(std::string_view block, TrackRecord& record)
{
    if (record.trackNumber != kNoTrackNumber) return;
    if (block[kTrackZeroOffset] != '\0' || block[kTrackOffset] == '\0') return;
    const int32_t track = SignedByteAt(block, kTrackOffset);
    if (track >= kLowestTrackNumber && track <= kHighestTrackNumber) record.trackNumber = track;
}

void FillGenre(std::string_view block, TrackRecord& record)
{
    if (!IsBlankText(TextOf(record.genre))) return;
    if (const auto name = GenreName(SignedByteAt(block, kGenreOffset))) SetText(record.genre, *name);
}

}  // namespace

bool ReadId3v1Block(std::string_view block, TrackRecord& record)
{
    if (block.size() < kId3v1BlockSize || !block.starts_with(kMarker)) return false;
    FillBlankText(record.title, block, kTitleOffset);
    FillBlankText(record.artist, block, kArtistOffset);
    FillBlankText(record.album, block, kAlbumOffset);
    FillTrackNumber(block, record);
    FillGenre(block, record);
    return true;
}

}  // namespace engine
