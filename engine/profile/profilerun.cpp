#include "engine/profile/profilerun.h"

#include "engine/api/cancelflag.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/playlist/playlistwriter.h"
#include "engine/profile/freespacefile.h"
#include "engine/scan/devicescanner.h"

#include "platform/sound.h"

#include <array>

namespace engine {

namespace {

constexpr std::array kPlaylistOrder{PlaylistKind::Artist, PlaylistKind::Album, PlaylistKind::Title,
                                    PlaylistKind::Genre, PlaylistKind::AudioFiles};

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

void WritePlaylist(const char* root, PlaylistKind kind, const ProgressReporter& progress)
{
    PlaylistFile playlist;
    if (WritePlaylistHeader(root, kind, playlist) != kPlaylistWritten) return;
    if (WritePlaylistBody(playlist, root, kind, Catalogue()) == kPlaylistTooLarge) {
        progress.Report(kReportPlaylistTooLarge, static_cast<int32_t>(kind));
    }
}

// Writes the playlists in their fixed order, then the free-space file. A cancel request is honoured
// after each of the first four playlists; a playlist being written is always completed.
int32_t WriteDeviceIndex(const char* root, const ProgressReporter& progress)
{
    for (PlaylistKind kind : kPlaylistOrder) {
        WritePlaylist(root, kind, progress);
        if (kind != PlaylistKind::AudioFiles && CancelRequested()) return kRunCancelled;
    }
    WriteFreeSpaceFile(root);
    return kRunDone;
}

int32_t ScanAndWrite(const char* root, void* window, const ProgressReporter& progress)
{
    const int32_t scanResult = ScanDevice(root, window);
    if (scanResult != kScanDone) {
        platform::MessageBeep(platform::kBeepExclamation);
        progress.Report(ReportForFailedScan(scanResult));
        return scanResult;
    }
    if (CancelRequested()) return kRunCancelled;
    progress.Report(kReportPlaylistsStarted);
    return WriteDeviceIndex(root, progress);
}

}  // namespace

int32_t RunProfile(const char* root, KovaProgressCallback callback, void* window)
{
    if (!root) return kRunFailed;
    const ProgressReporter progress(callback);
    progress.Report(kReportScanStarted);
    CancelFlag() = 0;

    const int32_t result = ScanAndWrite(root, window, progress);

    Catalogue().EmptyCatalogue();
    platform::MessageBeep(platform::kBeepExclamation);
    if (result == kRunDone) progress.Report(kReportProfileFinished);
    CancelFlag() = 0;
    return result;
}

}  // namespace engine
