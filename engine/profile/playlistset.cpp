#include "engine/profile/playlistset.h"

#include "engine/api/utility.h"
#include "engine/playlist/playlistwriter.h"

#include "platform/errors.h"

#include <algorithm>

namespace engine {

namespace {

std::size_t IndexOf(PlaylistKind kind)
{
    return static_cast<std::size_t>(std::find(PlaylistSet::kOrder.begin(), PlaylistSet::kOrder.end(), kind) -
                                    PlaylistSet::kOrder.begin());
}

}  // namespace

PlaylistSet::PlaylistSet(const char* root) : root_(root)
{
}

PlaylistFile& PlaylistSet::FileOf(PlaylistKind kind)
{
    return files_[IndexOf(kind)];
}

KovaPlaylistProblem PlaylistSet::ProblemOf(uint32_t error) const
{
    if (error == platform::kErrorDiskFull) return kPlaylistDeviceFull;
    if (!IsDevicePresent(root_)) return kPlaylistDeviceGone;
    return kPlaylistWriteFailed;
}

void PlaylistSet::Write(PlaylistKind kind, const std::vector<OrderedEntry>* entries)
{
    PlaylistFile& file = FileOf(kind);
    int32_t result = WritePlaylistHeader(root_, kind, file);
    // A folder that cannot be made leaves its code as the last error; the file keeps its own.
    const uint32_t headerError = platform::GetLastError();
    if (result == kPlaylistWritten && !entries) {
        file.Discard();
        result = kPlaylistFailed;
    }
    if (result == kPlaylistWritten) result = WritePlaylistEntries(file, kind, *entries);
    if (result == kPlaylistWritten) return;
    const uint32_t error = file.Failure() != platform::kErrorSuccess ? file.Failure() : headerError;
    problems_[IndexOf(kind)] = result == kPlaylistTooLarge ? kPlaylistTooLargeForPlayer : ProblemOf(error);
}

void PlaylistSet::PutInPlace(PlaylistKind kind)
{
    PlaylistFile& file = FileOf(kind);
    if (!file.IsComplete()) return;
    if (file.PutInPlace()) written_ |= 1 << static_cast<int32_t>(kind);
    else problems_[IndexOf(kind)] = ProblemOf(file.Failure());
}

void PlaylistSet::AwaitDevice(PlaylistKind kind)
{
    PlaylistFile& file = FileOf(kind);
    if (file.IsComplete() && !file.AwaitDevice()) problems_[IndexOf(kind)] = ProblemOf(file.Failure());
}

void PlaylistSet::PutAllInPlace()
{
    for (PlaylistKind kind : kOrder) AwaitDevice(kind);
    const bool allComplete = std::all_of(files_.begin(), files_.end(), [](const PlaylistFile& file) {
        return file.IsComplete();
    });
    for (PlaylistKind kind : kOrder) {
        if (allComplete) PutInPlace(kind);
        else if (FileOf(kind).IsComplete()) problems_[IndexOf(kind)] = kPlaylistHeldBack;
    }
    ListProblems();
}

void PlaylistSet::PutCompletedInPlace()
{
    for (PlaylistKind kind : kOrder) PutInPlace(kind);
    ListProblems();
}

void PlaylistSet::ListProblems()
{
    for (PlaylistKind kind : kOrder) {
        if (const std::optional<KovaPlaylistProblem> problem = problems_[IndexOf(kind)]) {
            notWritten_.push_back({kind, *problem});
        }
    }
}

}  // namespace engine
