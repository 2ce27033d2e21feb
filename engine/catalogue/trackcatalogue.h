#pragma once

#include "engine/catalogue/cataloguetrack.h"
#include "engine/catalogue/grouptotals.h"
#include "engine/catalogue/navigationcontext.h"
#include "engine/catalogue/playlistkind.h"
#include "engine/catalogue/sortkey.h"
#include "engine/catalogue/trackpool.h"
#include "engine/catalogue/trackrecord.h"

#include <cstddef>
#include <vector>

namespace engine {

// The audio files of the device being profiled, with the byte totals of their artist, album and
// genre groups in the playlists. Filled by the scan, read and re-sorted by the playlist writer,
// emptied at the end of every run. Not synchronised: one profile run uses it at a time.
class TrackCatalogue {
public:
    // Track list only: a track made from the record goes to its end.
    CatalogueTrack& AppendTrack(const TrackRecord& record);
    // Each adds the track's entry size to its group (created at 0 when new) and, for artist and
    // genre, to its nested group.
    void AddToAlbumMap(const CatalogueTrack& track);
    void AddToArtistMap(const CatalogueTrack& track);
    void AddToGenreMap(const CatalogueTrack& track);
    // Appends, then adds to the album, artist and genre maps in that order. Call it once the
    // record's texts and path are final.
    void AddTrack(const TrackRecord& record);

    // Frees the tracks; the maps stay.
    void ClearTracks();
    // Frees the tracks and every group.
    void EmptyCatalogue();

    std::size_t TrackCount() const { return tracks_.size(); }
    CatalogueTrack& Track(std::size_t position) { return *tracks_[position]; }
    const CatalogueTrack& Track(std::size_t position) const { return *tracks_[position]; }

    const GroupMap& AlbumMap() const { return albumMap_; }
    const GroupMap& ArtistMap() const { return artistMap_; }
    const GroupMap& GenreMap() const { return genreMap_; }

    // Sorts positions first..last, both included; nothing when they are not a range of the list.
    void SortTracks(std::size_t first, std::size_t last, SortKey key);
    // Sorts the list for the playlist kind and gives its entries in output order with their
    // navigation contexts. They point to the tracks and stay valid until the next call or until
    // the list changes: every kind's entries take the same memory, touched once.
    const std::vector<OrderedEntry>& OrderedEntries(PlaylistKind kind);
    // As OrderedEntries, into entries of the caller's. The entries of the kind sorted before stay
    // valid, and that kind's playlist may be written on another thread while this one sorts: a
    // sort reorders the list and reads the tracks' sort texts and ranks, the writing reads their
    // texts and sets their entry numbers.
    void OrderEntries(PlaylistKind kind, std::vector<OrderedEntry>& entries);

private:
    TrackPool pool_;
    std::vector<CatalogueTrack*> tracks_;  // the track list, in its current order
    bool textsRanked_ = false;             // the tracks' text ranks are those of the whole list
    std::vector<OrderedEntry> orderedEntries_;
    GroupMap albumMap_;
    GroupMap artistMap_;
    GroupMap genreMap_;
};

// The catalogue of this library instance.
TrackCatalogue& Catalogue();

}  // namespace engine
