#pragma once

#include "engine/catalogue/cataloguetrack.h"
#include "engine/catalogue/trackrecord.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace engine {

// The catalogue's tracks and their texts, allocated a large block at a time: a track takes the bytes
// of its texts and no more, thousands of tracks cost a few dozen allocations, and a track never
// moves, so that the track list can order tracks by their addresses.
class TrackPool {
public:
    // A track made from the record, valid until Clear.
    CatalogueTrack& Add(const TrackRecord& record);
    // Frees every track and text.
    void Clear();

private:
    static constexpr std::size_t kTracksPerBlock = 1024;
    static constexpr std::size_t kTextBlockSize = 64 * 1024;

    // size bytes of the last text block, starting a new one when they do not fit.
    std::span<char> TextRoom(std::size_t size);
    std::string_view StoreText(std::string_view text);
    std::string_view StoreFolded(std::string_view text);

    std::vector<std::unique_ptr<CatalogueTrack[]>> trackBlocks_;
    std::size_t tracksInLastBlock_ = kTracksPerBlock;
    std::vector<std::unique_ptr<char[]>> textBlocks_;
    char* nextText_ = nullptr;
    std::size_t textRoom_ = 0;  // bytes left in the last text block
};

}  // namespace engine
