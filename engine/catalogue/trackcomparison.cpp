#include "engine/catalogue/trackcomparison.h"

namespace engine {

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

}  // namespace engine
