#include "engine/catalogue/trackcatalogue.h"

#include "engine/catalogue/entrysize.h"
#include "engine/catalogue/playlistorder.h"
#include "engine/catalogue/trackcomparison.h"
#include "engine/catalogue/tracksorter.h"

#include <span>

namespace engine {

CatalogueTrack& TrackCatalogue::AppendTrack(const TrackRecord& record)
{
    CatalogueTrack& track = pool_.Add(record);
    tracks_.push_back(&track);
    textsRanked_ = false;
    return track;
}

void TrackCatalogue::AddToAlbumMap(const CatalogueTrack& track)
{
    const int32_t size = EntrySize(track, EntryLevel(PlaylistKind::Album));
    ValueFor(albumMap_, track.foldedAlbum).totalBytes += size;
}

void TrackCatalogue::AddToArtistMap(const CatalogueTrack& track)
{
    const int32_t size = EntrySize(track, EntryLevel(PlaylistKind::Artist));
    GroupTotals& artist = ValueFor(artistMap_, track.foldedArtist);
    artist.totalBytes += size;
    ValueFor(artist.nestedTotals, track.foldedAlbum) += size;
}

void TrackCatalogue::AddToGenreMap(const CatalogueTrack& track)
{
    const int32_t size = EntrySize(track, EntryLevel(PlaylistKind::Genre));
    GroupTotals& genre = ValueFor(genreMap_, track.foldedGenre);
    genre.totalBytes += size;
    ValueFor(genre.nestedTotals, track.foldedArtist) += size;
}

void TrackCatalogue::AddTrack(const TrackRecord& record)
{
    const CatalogueTrack& added = AppendTrack(record);
    AddToAlbumMap(added);
    AddToArtistMap(added);
    AddToGenreMap(added);
}

void TrackCatalogue::ClearTracks()
{
    orderedEntries_.clear();
    tracks_.clear();
    pool_.Clear();
    textsRanked_ = false;
}

void TrackCatalogue::EmptyCatalogue()
{
    ClearTracks();
    orderedEntries_ = {};
    artistMap_.clear();
    albumMap_.clear();
    genreMap_.clear();
}

void TrackCatalogue::SortTracks(std::size_t first, std::size_t last, SortKey key)
{
    if (first > last || last >= tracks_.size()) return;
    // Ranked once for every sort of the playlists: a text's rank in the list orders it in any part.
    if (!textsRanked_) {
        RankSortTexts(tracks_);
        textsRanked_ = true;
    }
    TrackSorter(std::span(tracks_).subspan(first, last - first + 1), key).Sort();
}

const std::vector<OrderedEntry>& TrackCatalogue::OrderedEntries(PlaylistKind kind)
{
    OrderEntries(kind, orderedEntries_);
    return orderedEntries_;
}

void TrackCatalogue::OrderEntries(PlaylistKind kind, std::vector<OrderedEntry>& entries)
{
    PlaylistOrder(*this, entries).Order(kind);
}

TrackCatalogue& Catalogue()
{
    static TrackCatalogue catalogue;
    return catalogue;
}

}  // namespace engine
