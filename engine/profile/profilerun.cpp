#include "engine/profile/profilerun.h"

#include "engine/api/cancelflag.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/playlist/playlistfolders.h"
#include "engine/profile/freespacefile.h"
#include "engine/profile/playlistordersahead.h"
#include "engine/profile/playlistset.h"
#include "engine/profile/playlistsondevice.h"
#include "engine/profile/runsummary.h"
#include "engine/scan/devicescanner.h"
#include "engine/tagcache/tagcachestore.h"

#include "platform/filesystemflush.h"
#include "platform/sound.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <future>
#include <optional>
#include <string>

namespace engine {

namespace {

class ProgressReporter {
public:
    explicit ProgressReporter(KovaProgressCallback callback) : callback_(callback) {}

    void Report(KovaReportCode code, int32_t value = 0) const
    {
        if (callback_) callback_(code, value);
    }

private:
    KovaProgressCallback callback_;
};

KovaReportCode ReportForFailedScan(int32_t scanResult)
{
    if (scanResult == kScanNoAudioFiles) return kReportNoAudioFiles;
    if (scanResult == kScanCancelled) return kReportProfileCancelled;
    return kReportDeviceLost;
}

void CopyName(char (&target)[kKovaSummaryNameSize], const std::string& name)
{
    const std::size_t length = std::min(name.size(), sizeof target - 1);
    std::memcpy(target, name.data(), length);
    target[length] = '\0';
}

// What the player will show once the playlists are on the device.
void Summarise(const TrackCatalogue& catalogue, int32_t playlistsWritten)
{
    KovaRunSummary& summary = LastRunSummary();
    summary = {};
    summary.tracks = static_cast<int32_t>(catalogue.TrackCount());
    summary.artists = static_cast<int32_t>(catalogue.ArtistMap().size());
    summary.albums = static_cast<int32_t>(catalogue.AlbumMap().size());
    summary.genres = static_cast<int32_t>(catalogue.GenreMap().size());
    summary.playlistsWritten = playlistsWritten;
    const UnaddressableFiles& unaddressable = LastScanUnaddressableFiles();
    summary.unaddressableFiles = unaddressable.count;
    for (std::size_t i = 0; i < unaddressable.firstNames.size() && i < kKovaSummaryNames; ++i) {
        CopyName(summary.unaddressableNames[i], unaddressable.firstNames[i]);
    }
}

// The device's playlists were written from this very catalogue and are untouched since: they are
// what writing them again would write, so only the folders and the free-space file are made.
int32_t KeepDeviceIndex(const char* root, TagCache& tags)
{
    std::string playlistFolder;
    CreatePlaylistFolders(root, playlistFolder);
    tags.KeepPlaylists(*tags.LastPlaylists());
    Summarise(Catalogue(), PlaylistSet::kAllWritten);
    WriteFreeSpaceFile(root);
    return kRunDone;
}

// Writes the playlists in their fixed order, puts them on the device together, then writes the
// free-space file. A cancel request is honoured after each of the first four playlists: a playlist
// being written is always completed, and those completed go on the device. Each playlist that does
// not is reported with code 9; the run's result does not depend on them.
int32_t WriteDeviceIndex(const char* root, const ProgressReporter& progress, TagCache& tags)
{
    const uint64_t digest = CatalogueDigest(Catalogue());
    if (PlaylistsAreCurrent(root, digest, tags.LastPlaylists())) return KeepDeviceIndex(root, tags);
    PlaylistSet playlists(root);
    PlaylistOrdersAhead orders(Catalogue());
    bool cancelled = false;
    for (PlaylistKind kind : PlaylistSet::kOrder) {
        playlists.Write(kind, orders.Next());
        cancelled = kind != PlaylistKind::AudioFiles && CancelRequested();
        if (cancelled) break;
    }
    if (cancelled) playlists.PutCompletedInPlace();
    else playlists.PutAllInPlace();
    for (const PlaylistNotWritten& playlist : playlists.NotWritten()) {
        progress.Report(kReportPlaylistNotWritten,
                        PlaylistReportValue(static_cast<int32_t>(playlist.kind), playlist.problem));
    }
    Summarise(Catalogue(), playlists.Written());
    if (playlists.Written() == PlaylistSet::kAllWritten) {
        if (const std::optional<WrittenPlaylists> written = PlaylistsOnDevice(root, digest)) tags.KeepPlaylists(*written);
    }
    if (cancelled) return kRunCancelled;
    WriteFreeSpaceFile(root);
    return kRunDone;
}

int32_t ScanAndWrite(const char* root, void* window, const ProgressReporter& progress, TagCache& tags,
                     const std::function<void()>& whenCounted)
{
    const int32_t scanResult = ScanDevice(root, window, tags, whenCounted);
    if (scanResult != kScanDone) {
        platform::MessageBeep(platform::kBeepExclamation);
        progress.Report(ReportForFailedScan(scanResult));
        return scanResult;
    }
    if (CancelRequested()) return kRunCancelled;
    progress.Report(kReportPlaylistsStarted);
    return WriteDeviceIndex(root, progress, tags);
}

// What the run put on the device is written back before the run says it finished: a device that
// cannot write back the playlists it took has failed the run (reported as lost). A run that put
// none there has told why already (code 9).
int32_t WriteBack(const char* root, int32_t result, const ProgressReporter& progress)
{
    if (result != kRunDone && result != kRunCancelled) return result;
    if (platform::FlushFileSystem(root) || result != kRunDone || LastRunSummary().playlistsWritten == 0) return result;
    progress.Report(kReportDeviceLost);
    return kRunFileSystemError;
}

}  // namespace

int32_t RunProfile(const char* root, KovaProgressCallback callback, void* window)
{
    if (!root) return kRunFailed;
    const ProgressReporter progress(callback);
    progress.Report(kReportScanStarted);
    CancelFlag() = 0;
    LastRunSummary() = {};

    // Only a finished run replaces the device's tag cache: a cancelled or failed one saw only part.
    // The cache is read while the device is counted, which does without it: both wait for disks.
    const TagCacheStore tagStore(root);
    std::future<TagCache> cacheBeingRead =
        std::async(std::launch::async | std::launch::deferred, [&tagStore] { return tagStore.Load(); });
    TagCache tags;
    const auto takeCache = [&] { tags = cacheBeingRead.get(); };
    const int32_t result = WriteBack(root, ScanAndWrite(root, window, progress, tags, takeCache), progress);
    if (result == kRunDone) tagStore.Save(tags);

    Catalogue().EmptyCatalogue();
    platform::MessageBeep(platform::kBeepExclamation);
    if (result == kRunDone) progress.Report(kReportProfileFinished);
    CancelFlag() = 0;
    return result;
}

}  // namespace engine
