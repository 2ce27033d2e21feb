#pragma once

#include "engine/catalogue/navigationcontext.h"
#include "engine/catalogue/playlistkind.h"
#include "engine/catalogue/sortkey.h"
#include "engine/catalogue/trackcatalogue.h"

#include <cstddef>
#include <vector>

namespace engine {

// Puts the catalogue's track list in the order of one playlist and numbers its groups:
//   Artist: artists, their albums, each album's numbered tracks by number, then the rest by title.
//   Genre:  genres, their artists, each artist's tracks by title.
//   Album:  albums (one group per album name, whoever the artist), tracks as for Artist.
//   Title, AudioFiles: one flat list by title or by file name.
// Groups are runs of records whose texts are equal but for the case of A-Z.
class PlaylistOrder {
public:
    // The entries go to entries, in output order.
    PlaylistOrder(TrackCatalogue& catalogue, std::vector<OrderedEntry>& entries);

    // No entries for a value that is no playlist kind.
    void Order(PlaylistKind kind);

private:
    // List positions begin..end-1.
    struct Group {
        std::size_t begin;
        std::size_t end;
    };

    enum class InnerOrder { TrackNumberThenTitle, Title };

    void OrderFlat(SortKey key);
    void OrderAlbums();
    void OrderTree(SortKey levelOneKey, SortKey levelTwoKey, const GroupMap& levelOneMap, InnerOrder inner);
    void Sort(Group group, SortKey key);
    void SortInnerGroup(Group group, InnerOrder inner);
    // Call on a range sorted by the key.
    std::vector<Group> CutGroups(Group range, SortKey key) const;
    // Adds the group's records as entries, numbering them within the group.
    void Emit(Group group, NavigationContext context);

    TrackCatalogue& catalogue_;
    std::vector<OrderedEntry>& entries_;
};

}  // namespace engine
