#pragma once

#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verifytexts.h"

#include <string>

namespace trayhost {

enum class PlaylistChange {
    Rewritten,  // without the entries the person chose to remove
    Deleted,    // no line was left, or the playlist was empty
};

// Where a verification run tells how it goes: the verification dialog in the tray program, the
// terminal in the command-line tool. Called on the run's thread.
class VerificationReport {
public:
    virtual ~VerificationReport() = default;

    // A status of the run; fileName goes with Verifying. Returns once shown, so the name may be a
    // temporary.
    virtual void ShowStatus(VerifyStatus status, const std::string& fileName) = 0;
    // A bad entry, as it is found and before anything is asked or decided about it.
    virtual void BadEntryFound(const FileNotFoundQuestion&) {}
    // A playlist of 0 bytes, which is deleted without asking.
    virtual void EmptyPlaylistFound(const std::string& /*playlistName*/) {}
    virtual void PlaylistChanged(const std::string& /*playlistName*/, PlaylistChange) {}
};

}  // namespace trayhost
