#include "engine/catalogue/trackpool.h"

#include "platform/codepage.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace engine {

CatalogueTrack& TrackPool::Add(const TrackRecord& record)
{
    if (tracksInLastBlock_ == kTracksPerBlock) {
        trackBlocks_.push_back(std::make_unique<CatalogueTrack[]>(kTracksPerBlock));
        tracksInLastBlock_ = 0;
    }
    CatalogueTrack& track = trackBlocks_.back()[tracksInLastBlock_++];
    track.album = StoreText(TextOf(record.album));
    track.artist = StoreText(TextOf(record.artist));
    track.title = StoreText(TextOf(record.title));
    track.genre = StoreText(TextOf(record.genre));
    track.reserved = StoreText(TextOf(record.reserved));
    track.trackNumber = record.trackNumber;
    track.path = StoreText(TextOf(record.path));
    track.fileName = StoreText(TextOf(record.fileName));
    track.foldedAlbum = StoreFolded(track.album);
    track.foldedArtist = StoreFolded(track.artist);
    track.foldedTitle = StoreFolded(track.title);
    track.foldedGenre = StoreFolded(track.genre);
    track.foldedFileName = StoreFolded(track.fileName);
    track.entryTextBytes = static_cast<int32_t>(track.album.size() + track.artist.size() + track.title.size() +
                                                track.genre.size() + track.reserved.size() + track.path.size());
    return track;
}

void TrackPool::Clear()
{
    trackBlocks_.clear();
    tracksInLastBlock_ = kTracksPerBlock;
    textBlocks_.clear();
    nextText_ = nullptr;
    textRoom_ = 0;
}

std::span<char> TrackPool::TextRoom(std::size_t size)
{
    if (textRoom_ < size) {
        textRoom_ = std::max(kTextBlockSize, size);
        textBlocks_.push_back(std::make_unique_for_overwrite<char[]>(textRoom_));
        nextText_ = textBlocks_.back().get();
    }
    const std::span<char> room(nextText_, size);
    nextText_ += size;
    textRoom_ -= size;
    return room;
}

std::string_view TrackPool::StoreText(std::string_view text)
{
    if (text.empty()) return {};
    const std::span<char> stored = TextRoom(text.size());
    std::memcpy(stored.data(), text.data(), text.size());
    return {stored.data(), stored.size()};
}

std::string_view TrackPool::StoreFolded(std::string_view text)
{
    if (text.empty()) return {};
    const std::span<char> stored = TextRoom(text.size());
    std::memcpy(stored.data(), text.data(), text.size());
    platform::LowerNoCaseInPlace(stored);
    return {stored.data(), stored.size()};
}

}  // namespace engine
