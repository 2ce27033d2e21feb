#pragma once

#include "engine/catalogue/playlistkind.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/kovahddprofiler.h"
#include "engine/playlist/playlistfile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace engine {

// A playlist that a run did not put on the device, and why.
struct PlaylistNotWritten {
    PlaylistKind kind;
    KovaPlaylistProblem problem;
};

// The five system playlists of one run. Each is written to its temporary file first; they replace
// the device's playlists together, so that a full disk or a device that goes away part way leaves
// the player its previous set whole instead of a mix of old and new playlists.
class PlaylistSet {
public:
    static constexpr std::array kOrder{PlaylistKind::Artist, PlaylistKind::Album, PlaylistKind::Title,
                                       PlaylistKind::Genre, PlaylistKind::AudioFiles};
    // Written() when all five are on the device.
    static constexpr int32_t kAllWritten = [] {
        int32_t all = 0;
        for (PlaylistKind kind : kOrder) all |= 1 << static_cast<int32_t>(kind);
        return all;
    }();

    explicit PlaylistSet(const char* root);

    // Writes the kind's playlist complete into its temporary file from the catalogue's entries sorted
    // for it, or notes why it could not; no entries when there was no memory to sort them.
    void Write(PlaylistKind kind, const std::vector<OrderedEntry>* entries);
    // When every playlist is complete and on the device, puts all of them in place; otherwise none,
    // each complete one then held back.
    void PutAllInPlace();
    // After a cancel: puts the playlists completed so far in place.
    void PutCompletedInPlace();

    // Bit 1 << kind for each playlist put in place.
    int32_t Written() const { return written_; }
    // In the order of kOrder, each playlist written or tried that is not on the device.
    const std::vector<PlaylistNotWritten>& NotWritten() const { return notWritten_; }

private:
    PlaylistFile& FileOf(PlaylistKind kind);
    KovaPlaylistProblem ProblemOf(uint32_t error) const;
    // Waits until the kind's finished playlist is on the device, noting why when it cannot be.
    void AwaitDevice(PlaylistKind kind);
    void PutInPlace(PlaylistKind kind);
    void ListProblems();

    const char* root_;
    std::array<PlaylistFile, kOrder.size()> files_;
    std::array<std::optional<KovaPlaylistProblem>, kOrder.size()> problems_;
    std::vector<PlaylistNotWritten> notWritten_;
    int32_t written_ = 0;
};

}  // namespace engine
