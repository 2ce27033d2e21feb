#include "engine/catalogue/trackcomparison.h"

#include "platform/codepage.h"

namespace engine {

int CompareTracks(const TrackRecord& a, const TrackRecord& b, SortKey key)
{
    switch (key) {
    case SortKey::Artist:
        return platform::CompareNoCase(TextOf(a.artist), TextOf(b.artist));
    case SortKey::Album:
        return platform::CompareNoCase(TextOf(a.album), TextOf(b.album));
    case SortKey::Title:
        return platform::CompareNoCase(TextOf(a.title), TextOf(b.title));
    case SortKey::Genre:
        return platform::CompareNoCase(TextOf(a.genre), TextOf(b.genre));
    case SortKey::FileName:
        return platform::CompareNoCase(TextOf(a.fileName), TextOf(b.fileName));
    case SortKey::TrackNumber:
        return (a.trackNumber > b.trackNumber) - (a.trackNumber < b.trackNumber);
    case SortKey::NoneA:
    case SortKey::NoneB:
        break;
    }
    return 0;
}

}  // namespace engine
