#include "engine/catalogue/entrysize.h"

namespace engine {

int32_t EntrySize(const TrackRecord& record, int32_t level)
{
    const std::size_t textBytes = TextOf(record.album).size() + TextOf(record.artist).size() +
                                  TextOf(record.title).size() + TextOf(record.genre).size() +
                                  TextOf(record.reserved).size() + TextOf(record.path).size();
    return kNavigationGroupBytes * level + kEntryFixedBytes + static_cast<int32_t>(textBytes);
}

}  // namespace engine
