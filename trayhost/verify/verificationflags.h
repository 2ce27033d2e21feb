#pragma once

#include <atomic>

namespace trayhost {

// What a verification run shares between the GUI thread and its worker thread, without a lock:
// each flag is set by one side and read by the other.
struct VerificationFlags {
    std::atomic<bool> cancel{false};        // Cancel in the verification dialog, or Ctrl-C
    std::atomic<bool> profileOffer{false};  // a playlist was rewritten or deleted: a profile is due
};

// The answers to the File Not Found question that hold for further bad entries: for the rest of the
// playlist, or with applyToAllPlaylists for the following playlists too. Only the worker thread
// touches them.
struct PromptDecisions {
    bool yesToAll = false;  // remove every further bad entry without asking
    bool noToAll = false;   // keep every further bad entry without asking
    bool applyToAllPlaylists = false;
};

// Whether a verification may change the playlists: the command-line tool's --keep-all only reports.
enum class PlaylistWrites {
    Allowed,
    ReportOnly,  // nothing is rewritten or deleted, not even an empty playlist
};

}  // namespace trayhost
