#pragma once

#include "trayhost/profilerengine.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/playlistchecker.h"
#include "trayhost/verify/verificationflags.h"
#include "trayhost/verify/verificationreport.h"
#include "trayhost/verify/verifyresult.h"

#include <cstdint>
#include <string>

namespace trayhost {

struct VerificationOptions {
    // The walk starts with these: all clear in the tray program; the command-line tool's --remove-all
    // and --keep-all start with an answer to all.
    PromptDecisions decisions;
    PlaylistWrites writes = PlaylistWrites::Allowed;
};

// One verification of a device's user playlists, on the calling (worker) thread: counts the playlist
// files (extension M3U) in the device's "kovahdd_playlists" folder, then checks each in listing order
// (PlaylistChecker). Subfolders are not entered. A playlist that cannot be read or rewritten is told
// in the "File error" box and the walk goes on. Once the walk is over the device's file system
// writes back what it changed, before the run may say it finished.
class VerificationRun {
public:
    enum class Outcome {
        Finished,     // every playlist checked
        Stopped,      // a check failed in a way that ends the walk; no profile is offered
        Cancelled,    // no profile is offered
        NoPlaylists,
        DeviceGone,   // also a device without a user playlist folder; no profile is offered
        NotWrittenBack,  // the device could not write back what the walk changed; no profile is offered
    };

    struct Collaborators {
        ProfilerEngine& engine;
        UserInterface& userInterface;
        VerificationReport& report;
        VerificationFlags& flags;
    };

    explicit VerificationRun(const Collaborators& collaborators);

    Outcome Run(char driveLetter, const VerificationOptions& options = {});

    // Playlists that stayed as they were because of an error the person was told about.
    int32_t playlistsWithErrors() const { return playlistsWithErrors_; }

private:
    VerifyResult CountPlaylists(const std::string& folder, int32_t& count);
    VerifyResult Walk(const std::string& root, const std::string& folder, PlaylistChecker& checker);
    bool IsPlaylistFile(const std::string& path);
    // The outcome of a walk that ended with the result; no profile is offered unless it finished.
    Outcome OutcomeOf(VerifyResult result);

    Collaborators collaborators_;
    int32_t playlistsWithErrors_ = 0;
};

// The status the dialog ends with for an outcome other than Cancelled.
VerifyStatus FinalStatusOf(VerificationRun::Outcome outcome);

}  // namespace trayhost
