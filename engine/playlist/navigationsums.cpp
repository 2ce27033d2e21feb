#include "engine/playlist/navigationsums.h"

namespace engine {

namespace {

constexpr int64_t kNextEntry = 1;

}  // namespace

NavigationValues NavigationSums::Advance(int32_t size, const NavigationContext& context)
{
    const int32_t levelOneOrdinal = context.Ordinal(1);
    const int32_t levelTwoOrdinal = context.Ordinal(2);
    const int32_t entryOrdinal = context.Ordinal(3);

    // Playlists without level 1 keep one ordinal throughout, so their level-1 sum runs over the file.
    if (levelOneOrdinal != previousLevelOneOrdinal_) {
        previousLevelOneBytes_ = levelOneBytes_;
        levelOneBytes_ = 0;
        previousLevelOneOrdinal_ = levelOneOrdinal;
    }
    if (entryOrdinal == 1) {
        innerBytes_ = 0;
        previousEntrySize_ = 0;
    }
    const bool firstOfFile = fileBytes_ == 0;
    const int64_t levelOneBefore = levelOneBytes_;
    fileBytes_ += size;
    levelOneBytes_ += size;
    innerBytes_ += size;

    NavigationValues values{};
    values[kBack1] = firstOfFile ? 0 : fileBytes_;
    values[kBack2] = levelTwoOrdinal == 1 && entryOrdinal == 1 ? 0 : levelOneBytes_;
    values[kBack3] = entryOrdinal == 1 ? 0 : innerBytes_;
    values[kNext1] = context.levelOneTotal - levelOneBytes_;
    values[kNext2] = entryOrdinal == context.Count(3) ? 0 : context.levelTwoTotal - innerBytes_;
    values[kNext3] = kNextEntry;
    values[kPrev1] = levelOneOrdinal == 1 ? 0 : previousLevelOneBytes_ + levelOneBefore + size;
    values[kPrev2] = levelTwoOrdinal == 1 ? 0 : previousInnerBytes_ + size;
    values[kPrev3] = entryOrdinal == 1 ? 0 : previousEntrySize_ + size;

    previousEntrySize_ = size;
    previousInnerBytes_ = innerBytes_;
    return values;
}

}  // namespace engine
