#pragma once

#include "engine/catalogue/grouptotals.h"
#include "engine/catalogue/navigationcontext.h"
#include "engine/catalogue/playlistkind.h"
#include "engine/catalogue/sortkey.h"
#include "engine/catalogue/trackrecord.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace engine {

// The audio files of the device being profiled, with the byte totals of their artist, album and
// genre groups in the playlists. Filled by the scan, read and re-sorted by the playlist writer,
// emptied at the end of every run. Not synchronised: one profile run uses it at a time.
class TrackCatalogue {
public:
    // Track list only; a null record is ignored.
    void AppendTrack(std::unique_ptr<TrackRecord> record);
    // Each adds the record's entry size to its group (created at 0 when new) and, for artist and
    // genre, to its nested group. Call them after the record's texts and path are final.
    void AddToAlbumMap(const TrackRecord& record);
    void AddToArtistMap(const TrackRecord& record);
    void AddToGenreMap(const TrackRecord& record);
    // Appends, then adds to the album, artist and genre maps in that order.
    void AddTrack(std::unique_ptr<TrackRecord> record);

    // Frees the records; the maps stay.
    void ClearTracks();
    // Frees the records and every group.
    void EmptyCatalogue();

    std::size_t TrackCount() const { return tracks_.size(); }
    TrackRecord& Track(std::size_t position) { return *tracks_[position]; }
    const TrackRecord& Track(std::size_t position) const { return *tracks_[position]; }

    const GroupMap& AlbumMap() const { return albumMap_; }
    const GroupMap& ArtistMap() const { return artistMap_; }
    const GroupMap& GenreMap() const { return genreMap_; }

    // Sorts positions first..last, both included; nothing when they are not a range of the list.
    void SortTracks(std::size_t first, std::size_t last, SortKey key);
    // Sorts the list for the playlist kind and gives its entries in output order with their
    // navigation contexts. The entries point into the list and stay valid until it changes.
    std::vector<OrderedEntry> OrderedEntries(PlaylistKind kind);

private:
    std::vector<std::unique_ptr<TrackRecord>> tracks_;
    GroupMap albumMap_;
    GroupMap artistMap_;
    GroupMap genreMap_;
};

// The catalogue of this library instance.
TrackCatalogue& Catalogue();

}  // namespace engine
