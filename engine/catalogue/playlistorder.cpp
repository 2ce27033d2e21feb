#include "engine/catalogue/playlistorder.h"

#include "engine/catalogue/trackcomparison.h"

#include <string_view>

namespace engine {

namespace {

constexpr std::size_t kLevelOne = 0;
constexpr std::size_t kLevelTwo = 1;
constexpr std::size_t kLevelThree = 2;

// The group's key in its map: the text its records share, lower-cased.
std::string_view GroupKey(const CatalogueTrack& track, SortKey key)
{
    return track.*FoldedSortText(key);
}

// A group the scan never added (the list was filled without the maps) counts as empty.
const GroupTotals& FindTotals(const GroupMap& map, std::string_view key)
{
    static const GroupTotals kNoTotals;
    const auto found = map.find(key);
    return found == map.end() ? kNoTotals : found->second;
}

int64_t FindNestedTotal(const GroupTotals& totals, std::string_view key)
{
    const auto found = totals.nestedTotals.find(key);
    return found == totals.nestedTotals.end() ? 0 : found->second;
}

int32_t CountOf(std::size_t size)
{
    return static_cast<int32_t>(size);
}

}  // namespace

PlaylistOrder::PlaylistOrder(TrackCatalogue& catalogue, std::vector<OrderedEntry>& entries)
    : catalogue_(catalogue), entries_(entries)
{
}

void PlaylistOrder::Order(PlaylistKind kind)
{
    entries_.clear();
    entries_.reserve(catalogue_.TrackCount());
    switch (kind) {
    case PlaylistKind::Artist:
        OrderTree(SortKey::Artist, SortKey::Album, catalogue_.ArtistMap(), InnerOrder::TrackNumberThenTitle);
        break;
    case PlaylistKind::Album:
        OrderAlbums();
        break;
    case PlaylistKind::Title:
        OrderFlat(SortKey::Title);
        break;
    case PlaylistKind::Genre:
        OrderTree(SortKey::Genre, SortKey::Artist, catalogue_.GenreMap(), InnerOrder::Title);
        break;
    case PlaylistKind::AudioFiles:
        OrderFlat(SortKey::FileName);
        break;
    }
}

void PlaylistOrder::OrderFlat(SortKey key)
{
    const Group all{0, catalogue_.TrackCount()};
    Sort(all, key);
    Emit(all, NavigationContext{});
}

void PlaylistOrder::OrderAlbums()
{
    const Group all{0, catalogue_.TrackCount()};
    Sort(all, SortKey::Album);
    const std::vector<Group> albums = CutGroups(all, SortKey::Album);
    NavigationContext context;
    context.count[kLevelTwo] = CountOf(catalogue_.AlbumMap().size());
    for (std::size_t album = 0; album < albums.size(); ++album) {
        const Group group = albums[album];
        context.ordinal[kLevelTwo] = CountOf(album + 1);
        context.levelTwoTotal =
            FindTotals(catalogue_.AlbumMap(), GroupKey(catalogue_.Track(group.begin), SortKey::Album)).totalBytes;
        SortInnerGroup(group, InnerOrder::TrackNumberThenTitle);
        Emit(group, context);
    }
}

void PlaylistOrder::OrderTree(SortKey levelOneKey, SortKey levelTwoKey, const GroupMap& levelOneMap,
                              InnerOrder inner)
{
    const Group all{0, catalogue_.TrackCount()};
    Sort(all, levelOneKey);
    const std::vector<Group> outerGroups = CutGroups(all, levelOneKey);
    NavigationContext context;
    context.count[kLevelOne] = CountOf(levelOneMap.size());
    for (std::size_t outer = 0; outer < outerGroups.size(); ++outer) {
        const Group outerGroup = outerGroups[outer];
        const GroupTotals& totals = FindTotals(levelOneMap, GroupKey(catalogue_.Track(outerGroup.begin), levelOneKey));
        context.ordinal[kLevelOne] = CountOf(outer + 1);
        context.count[kLevelTwo] = CountOf(totals.nestedTotals.size());
        context.levelOneTotal = totals.totalBytes;
        Sort(outerGroup, levelTwoKey);
        const std::vector<Group> innerGroups = CutGroups(outerGroup, levelTwoKey);
        for (std::size_t nested = 0; nested < innerGroups.size(); ++nested) {
            const Group innerGroup = innerGroups[nested];
            context.ordinal[kLevelTwo] = CountOf(nested + 1);
            context.levelTwoTotal = FindNestedTotal(totals, GroupKey(catalogue_.Track(innerGroup.begin), levelTwoKey));
            SortInnerGroup(innerGroup, inner);
            Emit(innerGroup, context);
        }
    }
}

void PlaylistOrder::Sort(Group group, SortKey key)
{
    if (group.end > group.begin) catalogue_.SortTracks(group.begin, group.end - 1, key);
}

// Track numbers sort "none" (9999) last, so the unnumbered tracks end the group, where they are
// put in title order instead.
void PlaylistOrder::SortInnerGroup(Group group, InnerOrder inner)
{
    if (inner == InnerOrder::Title) {
        Sort(group, SortKey::Title);
        return;
    }
    Sort(group, SortKey::TrackNumber);
    for (std::size_t position = group.begin; position < group.end; ++position) {
        if (catalogue_.Track(position).trackNumber == kNoTrackNumber) {
            Sort({position, group.end}, SortKey::Title);
            return;
        }
    }
}

std::vector<PlaylistOrder::Group> PlaylistOrder::CutGroups(Group range, SortKey key) const
{
    std::vector<Group> groups;
    std::size_t begin = range.begin;
    while (begin < range.end) {
        std::size_t end = begin + 1;
        while (end < range.end && CompareTracks(catalogue_.Track(begin), catalogue_.Track(end), key) == 0) ++end;
        groups.push_back({begin, end});
        begin = end;
    }
    return groups;
}

void PlaylistOrder::Emit(Group group, NavigationContext context)
{
    context.count[kLevelThree] = CountOf(group.end - group.begin);
    for (std::size_t position = group.begin; position < group.end; ++position) {
        context.ordinal[kLevelThree] = CountOf(position - group.begin + 1);
        entries_.push_back({&catalogue_.Track(position), context});
    }
}

}  // namespace engine
