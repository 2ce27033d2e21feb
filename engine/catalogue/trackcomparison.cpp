#include "engine/catalogue/trackcomparison.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace engine {

namespace {

constexpr std::array kRankedKeys{SortKey::Artist, SortKey::Album, SortKey::Title, SortKey::Genre, SortKey::FileName};
constexpr std::size_t kFileNameRank = 4;

std::size_t RankIndex(SortKey key)
{
    return key == SortKey::FileName ? kFileNameRank : static_cast<std::size_t>(key);
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
    std::vector<std::pair<std::string_view, CatalogueTrack*>> byText(tracks.size());
    for (const SortKey key : kRankedKeys) {
        const FoldedText text = FoldedSortText(key);
        std::transform(tracks.begin(), tracks.end(), byText.begin(),
                       [text](CatalogueTrack* track) { return std::pair(track->*text, track); });
        std::sort(byText.begin(), byText.end());
        int32_t rank = 0;
        for (std::size_t i = 0; i < byText.size(); ++i) {
            if (i > 0 && byText[i - 1].first != byText[i].first) ++rank;
            byText[i].second->textRanks[RankIndex(key)] = rank;
        }
    }
}

int64_t NumericSortKey(const CatalogueTrack& track, SortKey key)
{
    if (key == SortKey::TrackNumber) return track.trackNumber;
    return FoldedSortText(key) ? track.textRanks[RankIndex(key)] : 0;
}

}  // namespace engine
