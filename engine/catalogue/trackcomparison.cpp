#include "engine/catalogue/trackcomparison.h"

#include <algorithm>
#include <array>
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

// A track's text of one key, to be sorted with the others.
struct RankedText {
    uint64_t leadingBytes;
    std::string_view text;
    CatalogueTrack* track;

    std::string_view Rest() const { return text.substr(std::min(kLeadingBytes, text.size())); }
    bool operator<(const RankedText& other) const
    {
        if (leadingBytes != other.leadingBytes) return leadingBytes < other.leadingBytes;
        return Rest() < other.Rest();
    }
    bool SameText(const RankedText& other) const { return leadingBytes == other.leadingBytes && text == other.text; }
};

// Ranks the tracks' texts of one key: the tracks sorted by it, equal texts take one rank.
void RankText(std::span<CatalogueTrack* const> tracks, SortKey key, std::vector<RankedText>& texts)
{
    const FoldedText text = FoldedSortText(key);
    texts.clear();
    for (CatalogueTrack* track : tracks) texts.push_back({LeadingBytes(track->*text), track->*text, track});
    std::sort(texts.begin(), texts.end());
    int32_t rank = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0 && !texts[i].SameText(texts[i - 1])) ++rank;
        texts[i].track->textRanks[RankIndex(key)] = rank;
    }
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
    std::vector<RankedText> texts;
    texts.reserve(tracks.size());
    for (const SortKey key : kRankedKeys) RankText(tracks, key, texts);
}

int64_t NumericSortKey(const CatalogueTrack& track, SortKey key)
{
    if (key == SortKey::TrackNumber) return track.trackNumber;
    return FoldedSortText(key) ? track.textRanks[RankIndex(key)] : 0;
}

}  // namespace engine
