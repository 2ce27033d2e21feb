#include "engine/catalogue/trackcatalogue.h"

#include "engine/catalogue/entrysize.h"
#include "engine/catalogue/playlistorder.h"
#include "engine/catalogue/tracksorter.h"

#include "platform/codepage.h"

#include <span>
#include <utility>

namespace engine {

void TrackCatalogue::AppendTrack(std::unique_ptr<TrackRecord> record)
{
    if (record) tracks_.push_back(std::move(record));
}

void TrackCatalogue::AddToAlbumMap(const TrackRecord& record)
{
    const int32_t size = EntrySize(record, EntryLevel(PlaylistKind::Album));
    albumMap_[platform::ToLowerNoCase(TextOf(record.album))].totalBytes += size;
}

void TrackCatalogue::AddToArtistMap(const TrackRecord& record)
{
    const int32_t size = EntrySize(record, EntryLevel(PlaylistKind::Artist));
    GroupTotals& artist = artistMap_[platform::ToLowerNoCase(TextOf(record.artist))];
    artist.totalBytes += size;
    artist.nestedTotals[platform::ToLowerNoCase(TextOf(record.album))] += size;
}

void TrackCatalogue::AddToGenreMap(const TrackRecord& record)
{
    const int32_t size = EntrySize(record, EntryLevel(PlaylistKind::Genre));
    GroupTotals& genre = genreMap_[platform::ToLowerNoCase(TextOf(record.genre))];
    genre.totalBytes += size;
    genre.nestedTotals[platform::ToLowerNoCase(TextOf(record.artist))] += size;
}

void TrackCatalogue::AddTrack(std::unique_ptr<TrackRecord> record)
{
    if (!record) return;
    const TrackRecord& added = *record;
    AppendTrack(std::move(record));
    AddToAlbumMap(added);
    AddToArtistMap(added);
    AddToGenreMap(added);
}

void TrackCatalogue::ClearTracks()
{
    tracks_.clear();
}

void TrackCatalogue::EmptyCatalogue()
{
    ClearTracks();
    artistMap_.clear();
    albumMap_.clear();
    genreMap_.clear();
}

void TrackCatalogue::SortTracks(std::size_t first, std::size_t last, SortKey key)
{
    if (first > last || last >= tracks_.size()) return;
    TrackSorter(std::span(tracks_).subspan(first, last - first + 1), key).Sort();
}

std::vector<OrderedEntry> TrackCatalogue::OrderedEntries(PlaylistKind kind)
{
    return PlaylistOrder(*this).Entries(kind);
}

TrackCatalogue& Catalogue()
{
    static TrackCatalogue catalogue;
    return catalogue;
}

}  // namespace engine
