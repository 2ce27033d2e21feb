#include "engine/profile/playlistordersahead.h"

#include "engine/profile/playlistset.h"

#include <new>

namespace engine {

PlaylistOrdersAhead::PlaylistOrdersAhead(TrackCatalogue& catalogue) : catalogue_(catalogue)
{
    StartSorting();
}

const std::vector<OrderedEntry>* PlaylistOrdersAhead::Next()
{
    if (!sorting_.valid()) return nullptr;
    bool sorted = true;
    try {
        sorting_.get();
    } catch (const std::bad_alloc&) {
        sorted = false;
    }
    const std::vector<OrderedEntry>& entries = entries_[next_ % entries_.size()];
    ++next_;
    StartSorting();
    return sorted ? &entries : nullptr;
}

// Each sort starts from the order the one before left, as when they follow one another.
void PlaylistOrdersAhead::StartSorting()
{
    if (next_ == PlaylistSet::kOrder.size()) return;
    const PlaylistKind kind = PlaylistSet::kOrder[next_];
    std::vector<OrderedEntry>& entries = entries_[next_ % entries_.size()];
    // Without a thread to spare, the sort is made when its entries are asked for.
    sorting_ = std::async(std::launch::async | std::launch::deferred,
                          [this, kind, &entries] { catalogue_.OrderEntries(kind, entries); });
}

}  // namespace engine
