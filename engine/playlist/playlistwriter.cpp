#include "engine/playlist/playlistwriter.h"

#include "engine/catalogue/entrysize.h"
#include "engine/playlist/playlistfolders.h"
#include "engine/playlist/playlistformat.h"
#include "engine/playlist/playlistlimits.h"

#include "platform/errors.h"

#include <new>
#include <string_view>
#include <vector>

namespace engine {

namespace {

int32_t WriteEntries(PlaylistFile& playlist, PlaylistKind kind, const std::vector<OrderedEntry>& entries)
{
    const int32_t level = EntryLevel(kind);
    if (static_cast<int64_t>(entries.size()) > kMaxOrdinal || !PlaylistFits(entries, level)) {
        playlist.Discard();
        return kPlaylistTooLarge;
    }
    playlist.ResetSums();
    int32_t entryNumber = 0;
    for (const OrderedEntry& entry : entries) {
        WritePlaylistEntry(playlist, *entry.track, level, entry.context, ++entryNumber);
    }
    playlist.Finish();
    return kPlaylistWritten;
}

}  // namespace

std::string_view PlaylistFileName(PlaylistKind kind)
{
    switch (kind) {
    case PlaylistKind::Artist:
        return "artist.m3u";
    case PlaylistKind::Album:
        return "album.m3u";
    case PlaylistKind::Title:
        return "title.m3u";
    case PlaylistKind::Genre:
        return "genre.m3u";
    case PlaylistKind::AudioFiles:
        return "audiofiles.m3u";
    }
    return {};
}

int32_t WritePlaylistHeader(const char* root, PlaylistKind kind, PlaylistFile& playlist)
{
    if (root == nullptr) return kPlaylistFailed;
    std::string folder;
    const int32_t folders = CreatePlaylistFolders(root, folder);
    if (folders != kPlaylistWritten) return folders;
    if (!IsPlaylistKind(kind)) return kInvalidPlaylistKind;
    if (!playlist.Create(folder, PlaylistFileName(kind))) return kPlaylistFileFailed;
    try {
        const std::string header = FormatPlaylistHeader(kind);
        playlist.Append(header);
    } catch (const platform::FileError&) {
        playlist.Discard();
        return kPlaylistFailed;
    }
    return kPlaylistWritten;
}

int32_t WritePlaylistEntries(PlaylistFile& playlist, PlaylistKind kind, const std::vector<OrderedEntry>& entries)
{
    if (!playlist.IsOpen()) {
        playlist.Discard();
        return kPlaylistFailed;
    }
    if (!IsPlaylistKind(kind)) {
        playlist.Discard();
        return kInvalidPlaylistKind;
    }
    try {
        return WriteEntries(playlist, kind, entries);
    } catch (const platform::FileError&) {
        playlist.Discard();
    } catch (const std::bad_alloc&) {
        playlist.Discard();
    }
    return kPlaylistFailed;
}

int32_t WritePlaylistEntry(PlaylistFile& playlist, CatalogueTrack& track, int32_t level,
                           const NavigationContext& context, int32_t entryNumber)
{
    if (!playlist.IsOpen() || level < 1 || level > kLevelCount) return kPlaylistFailed;
    const int32_t size = EntrySize(track, level);
    const NavigationValues values = playlist.Sums().Advance(size, context);
    track.entryNumber = entryNumber;
    track.entryLength = size - 1;
    for (std::size_t i = 0; i < values.size(); ++i) track.navigation[i] = static_cast<int32_t>(values[i]);
    playlist.AppendFormatted(MaxEntryBytes(track),
                             [&](char* out) { return FormatPlaylistEntry(out, track, level, context); });
    return kPlaylistWritten;
}

}  // namespace engine
