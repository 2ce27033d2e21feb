#pragma once

#include "engine/catalogue/navigationcontext.h"
#include "engine/catalogue/trackcatalogue.h"

#include <array>
#include <cstddef>
#include <future>
#include <vector>

namespace engine {

// The catalogue's entries for each of the five playlists in the order they are written, each
// sorted while the playlist before it is written: with a second core, the sorting and the writing
// go on at once.
class PlaylistOrdersAhead {
public:
    // Starts sorting for the first playlist. Destroyed, it waits for a sort under way.
    explicit PlaylistOrdersAhead(TrackCatalogue& catalogue);
    PlaylistOrdersAhead(const PlaylistOrdersAhead&) = delete;
    PlaylistOrdersAhead& operator=(const PlaylistOrdersAhead&) = delete;

    // The entries of the next playlist, once sorted, and starts sorting for the one after; valid
    // until the next call. Null when there was no memory to sort them.
    const std::vector<OrderedEntry>* Next();

private:
    void StartSorting();

    TrackCatalogue& catalogue_;
    std::array<std::vector<OrderedEntry>, 2> entries_;  // the playlist being written, the next
    std::size_t next_ = 0;                               // of the playlists in the order written
    std::future<void> sorting_;  // from std::async: waited for when destroyed
};

}  // namespace engine
