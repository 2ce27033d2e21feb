#include "engine/profile/playlistsondevice.h"

#include "engine/api/devicefolders.h"
#include "engine/playlist/playlistwriter.h"
#include "engine/profile/playlistset.h"
#include "engine/tagcache/fnv1a.h"

#include "platform/paths.h"

#include <string>
#include <string_view>

namespace engine {

namespace {

static_assert(WrittenPlaylists::kPlaylists == PlaylistSet::kOrder.size());

// Each text after its length, so that no two lists of texts run together alike.
class Digest {
public:
    void Add(std::string_view text)
    {
        Add(static_cast<int64_t>(text.size()));
        hash_ = Fnv1a(text, hash_);
    }
    void Add(int64_t number) { hash_ = Fnv1a({reinterpret_cast<const char*>(&number), sizeof number}, hash_); }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = kFnv1aStart;
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
        digest.Add(track.trackNumber);
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
