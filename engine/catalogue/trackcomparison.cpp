#include "engine/catalogue/trackcomparison.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>
#include <vector>

namespace engine {

namespace {

constexpr std::array kRankedKeys{SortKey::Artist, SortKey::Album, SortKey::Title, SortKey::Genre, SortKey::FileName};
constexpr std::size_t kFileNameRank = 4;

std::size_t RankIndex(SortKey key)
{
    return key == SortKey::FileName ? kFileNameRank : static_cast<std::size_t>(key);
}

constexpr std::size_t kLeadingBytes = sizeof(uint64_t);

// The first bytes of a text as one number that orders as they do, a shorter text padded with zero
// bytes (which no text holds): most texts are told apart by it alone.
uint64_t LeadingBytes(std::string_view text)
{
    uint64_t number = 0;
    for (std::size_t i = 0; i < kLeadingBytes; ++i) {
        number = number << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return number;
}

// Ranks the tracks' texts of one key. Each distinct text is sorted once, however many tracks share
// it: a device has thousands of songs and a few hundred artists.
void RankText(std::span<CatalogueTrack* const> tracks, SortKey key)
{
    const FoldedText text = FoldedSortText(key);
    std::unordered_map<std::string_view, int32_t> slots;  // a distinct text: its place in distinct
    slots.reserve(tracks.size());
    std::vector<std::string_view> distinct;
    std::vector<int32_t> slotOfTrack(tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const auto [slot, added] = slots.try_emplace(tracks[i]->*text, static_cast<int32_t>(distinct.size()));
        if (added) distinct.push_back(slot->first);
        slotOfTrack[i] = slot->second;
    }
    std::vector<uint64_t> prefixes(distinct.size());
    std::transform(distinct.begin(), distinct.end(), prefixes.begin(), LeadingBytes);
    std::vector<int32_t> sorted(distinct.size());
    std::iota(sorted.begin(), sorted.end(), 0);
    std::sort(sorted.begin(), sorted.end(), [&](int32_t a, int32_t b) {
        if (prefixes[a] != prefixes[b]) return prefixes[a] < prefixes[b];
        return distinct[a].substr(std::min(kLeadingBytes, distinct[a].size())) <
               distinct[b].substr(std::min(kLeadingBytes, distinct[b].size()));
    });
    std::vector<int32_t> rankOfSlot(distinct.size());
    for (std::size_t rank = 0; rank < sorted.size(); ++rank) rankOfSlot[sorted[rank]] = static_cast<int32_t>(rank);
    for (std::size_t i = 0; i < tracks.size(); ++i) tracks[i]->textRanks[RankIndex(key)] = rankOfSlot[slotOfTrack[i]];
}

}  // namespace

int CompareTracks(const CatalogueTrack& a, const CatalogueTrack& b, SortKey key)
{
    if (key == SortKey::TrackNumber) return (a.trackNumber > b.trackNumber) - (a.trackNumber < b.trackNumber);
    const FoldedText text = FoldedSortText(key);
    if (!text) return 0;
    return (a.*text).compare(b.*text);
}

FoldedText FoldedSortText(SortKey key)
{
    switch (key) {
    case SortKey::Artist:
        return &CatalogueTrack::foldedArtist;
    case SortKey::Album:
        return &CatalogueTrack::foldedAlbum;
    case SortKey::Title:
        return &CatalogueTrack::foldedTitle;
    case SortKey::Genre:
        return &CatalogueTrack::foldedGenre;
    case SortKey::FileName:
        return &CatalogueTrack::foldedFileName;
    case SortKey::TrackNumber:
    case SortKey::NoneA:
    case SortKey::NoneB:
        break;
    }
    return nullptr;
}

void RankSortTexts(std::span<CatalogueTrack* const> tracks)
{
    for (const SortKey key : kRankedKeys) RankText(tracks, key);
}

int64_t NumericSortKey(const CatalogueTrack& track, SortKey key)
{
    if (key == SortKey::TrackNumber) return track.trackNumber;
    return FoldedSortText(key) ? track.textRanks[RankIndex(key)] : 0;
}

}  // namespace engine
