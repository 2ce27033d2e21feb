#include "engine/playlist/playlistlimits.h"

#include "engine/catalogue/entrysize.h"
#include "engine/playlist/navigationsums.h"
#include "engine/playlist/playlistformat.h"

namespace engine {

namespace {

// Entry lengths need no check: a track's six texts come from record fields of bounded size.
constexpr int64_t kMaxEntryLength = 999'999;
constexpr int64_t kTextsInEntry = 6;
static_assert(kNavigationGroupBytes * kLevelCount + kEntryFixedBytes +
                  kTextsInEntry * static_cast<int64_t>(kMaxFieldText) <= kMaxEntryLength);

bool OrdinalFits(int64_t value)
{
    return value >= 0 && value <= kMaxOrdinal;
}

bool DistanceFits(int64_t value)
{
    return value >= 0 && value <= kMaxDistance;
}

bool TrackNumberFits(int32_t trackNumber)
{
    return trackNumber == kNoTrackNumber || (trackNumber >= 0 && trackNumber <= kMaxTrackNumber);
}

// The numbers the entry's navigation group for this level would carry.
bool NavigationGroupFits(const NavigationContext& context, const NavigationValues& values, int32_t level)
{
    const auto offset = static_cast<std::size_t>(level - 1);
    const int32_t ordinal = context.Ordinal(level);
    const int32_t count = context.Count(level);
    const bool nextWritten = ordinal != count;
    return OrdinalFits(ordinal) && OrdinalFits(count) && DistanceFits(values[kBack1 + offset]) &&
           (!nextWritten || DistanceFits(values[kNext1 + offset])) && DistanceFits(values[kPrev1 + offset]);
}

}  // namespace

bool PlaylistFits(const std::vector<OrderedEntry>& entries, int32_t level)
{
    if (static_cast<int64_t>(entries.size()) > kMaxOrdinal) return false;
    NavigationSums sums;
    for (const OrderedEntry& entry : entries) {
        if (!TrackNumberFits(entry.track->trackNumber)) return false;
        const NavigationValues values = sums.Advance(EntrySize(*entry.track, level), entry.context);
        for (int32_t navigationLevel = FirstLevelPresent(level); navigationLevel <= kLevelCount; ++navigationLevel) {
            if (!NavigationGroupFits(entry.context, values, navigationLevel)) return false;
        }
    }
    return true;
}

}  // namespace engine
