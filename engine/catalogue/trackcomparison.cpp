#include "engine/catalogue/trackcomparison.h"

#include "platform/codepage.h"

namespace engine {

int CompareTracks(const TrackRecord& a, const TrackRecord& b, SortKey key)
{
    if (key == SortKey::TrackNumber) return (a.trackNumber > b.trackNumber) - (a.trackNumber < b.trackNumber);
    const char* textA = SortText(a, key);
    if (!textA) return 0;
    return platform::CompareTextsNoCase(textA, SortText(b, key));
}

const char* SortText(const TrackRecord& record, SortKey key)
{
    switch (key) {
    case SortKey::Artist:
        return record.artist;
    case SortKey::Album:
        return record.album;
    case SortKey::Title:
        return record.title;
    case SortKey::Genre:
        return record.genre;
    case SortKey::FileName:
        return record.fileName;
    case SortKey::TrackNumber:
    case SortKey::NoneA:
    case SortKey::NoneB:
        break;
    }
    return nullptr;
}

}  // namespace engine
