// libFuzzer target: tracks made of the input's bytes (any texts, paths and track numbers) through
// the playlist writer. Every playlist it writes must read back by its length prefixes and fixed
// widths alone, as the player reads it, with one entry per track.

#include "engine/catalogue/tests/trackbuilder.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/playlist/playlistwriter.h"
#include "engine/playlist/tests/playlistparser.h"
#include "testsupport/devicetree.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

constexpr std::size_t kMaxTracks = 40;
constexpr std::size_t kMaxText = 300;  // beyond a field's 255 bytes, so that cutting is exercised
constexpr std::array kKinds{engine::PlaylistKind::Artist, engine::PlaylistKind::Album, engine::PlaylistKind::Title,
                            engine::PlaylistKind::Genre, engine::PlaylistKind::AudioFiles};
constexpr std::array<const char*, 6> kFileNames{"artist.m3u", "album.m3u", "title.m3u", "genre.m3u", "", "audiofiles.m3u"};

// A tmpfs where the tests may mount one: each playlist is flushed to its disk before it is put in
// place, which a real disk makes slow.
const testsupport::TemporaryDevice& Device()
{
    static const testsupport::TemporaryDevice device('E', 64 * 1024 * 1024);
    return device;
}

void AddTracks(FuzzedDataProvider& input, engine::TrackCatalogue& catalogue)
{
    const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, kMaxTracks);
    for (std::size_t i = 0; i < count && input.remaining_bytes() > 0; ++i) {
        const std::string artist = input.ConsumeRandomLengthString(kMaxText);
        const std::string album = input.ConsumeRandomLengthString(kMaxText);
        const std::string title = input.ConsumeRandomLengthString(kMaxText);
        const std::string genre = input.ConsumeRandomLengthString(kMaxText);
        const std::string path = "..\\..\\" + input.ConsumeRandomLengthString(kMaxText);
        const int32_t track = input.ConsumeBool() ? engine::kNoTrackNumber : input.ConsumeIntegralInRange(-5, 120);
        catalogue.AddTrack(testsupport::MakeTrack(
            {.artist = artist, .album = album, .title = title, .genre = genre, .track = track, .path = path}));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Device();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    engine::TrackCatalogue catalogue;
    AddTracks(input, catalogue);
    for (const engine::PlaylistKind kind : kKinds) {
        engine::PlaylistFile playlist;
        if (engine::WritePlaylistHeader("E:", kind, playlist) != engine::kPlaylistWritten) __builtin_trap();
        const int32_t result = engine::WritePlaylistEntries(playlist, kind, catalogue.OrderedEntries(kind));
        if (result == engine::kPlaylistTooLarge) continue;
        if (result != engine::kPlaylistWritten || !playlist.PutInPlace()) __builtin_trap();
        const std::string written =
            Device().ReadFile(std::string("kovahdd/sys_playlist/") + kFileNames[static_cast<std::size_t>(kind)]);
        try {
            if (testsupport::ParsePlaylist(written).entries.size() != catalogue.TrackCount()) __builtin_trap();
        } catch (const std::runtime_error&) {
            __builtin_trap();
        }
    }
    return 0;
}
