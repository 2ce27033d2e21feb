#include "engine/profile/playlistsondevice.h"

#include "engine/api/devicefolders.h"
#include "engine/playlist/playlistwriter.h"
#include "engine/profile/playlistset.h"

#include "platform/paths.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace engine {

namespace {

static_assert(WrittenPlaylists::kPlaylists == PlaylistSet::kOrder.size());

// Each text after its length, so that no two lists of texts run together alike, eight bytes at a
// time: the digest of a device of 10,000 songs takes in 2.5 MB. Every step is a bijection of the
// hash, so that any one changed word changes the digest; its last shift carries the high bits of a
// product to the low ones, which a multiplication alone never reaches.
class Digest {
public:
    void Add(std::string_view text)
    {
        Add(static_cast<uint64_t>(text.size()));
        for (std::size_t start = 0; start < text.size(); start += sizeof(uint64_t)) {
            uint64_t word = 0;
            std::memcpy(&word, text.data() + start, std::min(sizeof word, text.size() - start));
            Add(word);
        }
    }
    void Add(uint64_t word)
    {
        hash_ = (hash_ ^ word) * kMultiplier;
        hash_ ^= hash_ >> kShift;
    }
    uint64_t Value() const { return hash_; }

private:
    static constexpr uint64_t kMultiplier = 0x9e3779b97f4a7c15;  // odd, its bits spread evenly
    static constexpr int kShift = 29;

    uint64_t hash_ = 0;
};

}  // namespace

uint64_t CatalogueDigest(const TrackCatalogue& catalogue)
{
    Digest digest;
    for (std::size_t i = 0; i < catalogue.TrackCount(); ++i) {
        const CatalogueTrack& track = catalogue.Track(i);
        for (const std::string_view text :
             {track.album, track.artist, track.title, track.genre, track.reserved, track.path, track.fileName}) {
            digest.Add(text);
        }
        digest.Add(static_cast<uint64_t>(track.trackNumber));
    }
    return digest.Value();
}

std::optional<WrittenPlaylists> PlaylistsOnDevice(const char* root, uint64_t catalogueDigest)
{
    const std::string folder = platform::JoinPath(platform::JoinPath(root, std::string(kDeviceFolderName)),
                                                  std::string(kSystemPlaylistFolderName));
    WrittenPlaylists playlists{catalogueDigest, {}};
    for (std::size_t i = 0; i < PlaylistSet::kOrder.size(); ++i) {
        const std::string name(PlaylistFileName(PlaylistSet::kOrder[i]));
        const std::optional<platform::FileStamp> stamp = platform::GetFileStamp(platform::JoinPath(folder, name));
        if (!stamp) return std::nullopt;
        playlists.files[i] = *stamp;
    }
    return playlists;
}

bool PlaylistsAreCurrent(const char* root, uint64_t catalogueDigest, const std::optional<WrittenPlaylists>& last)
{
    return last && last->catalogueDigest == catalogueDigest && PlaylistsOnDevice(root, catalogueDigest) == last;
}

}  // namespace engine
