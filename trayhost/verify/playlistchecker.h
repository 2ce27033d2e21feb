#pragma once

#include "trayhost/profilerengine.h"
#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verificationflags.h"
#include "trayhost/verify/verificationreport.h"
#include "trayhost/verify/verifyresult.h"

#include <cstdint>
#include <optional>
#include <string>

namespace trayhost {

// The check of one user playlist, on the verification worker thread: finds every entry whose audio
// file is not on the device or whose text holds control characters, asks the person about each
// (unless an earlier "to all" answer holds), removes the chosen lines and writes the playlist back,
// or deletes it when no line is left. A playlist of 0 bytes is deleted without asking. The cancel
// flag and the device's presence are checked before and after every question and file operation;
// a cancelled check writes nothing.
class PlaylistChecker {
public:
    struct Collaborators {
        ProfilerEngine& engine;
        UserInterface& userInterface;
        VerificationReport& report;
        VerificationFlags& flags;
        PromptDecisions& decisions;
    };

    explicit PlaylistChecker(const Collaborators& collaborators, PlaylistWrites writes = PlaylistWrites::Allowed);

    // Checks the playlist at path on the device at root ("E:"). Sets the profile offer flag when the
    // playlist was rewritten or deleted.
    VerifyResult Check(const std::string& root, const std::string& path);

    // Messages shown so far for a playlist that stayed as it was because its read-only attribute
    // would not clear or it would not delete.
    int32_t errorsShown() const { return errorsShown_; }

private:
    struct Playlist;

    VerifyResult CheckPlaylist(Playlist& playlist);
    // Each step below gives a result when it ends the check, and nothing when the check goes on.
    std::optional<VerifyResult> Read(Playlist& playlist);
    std::optional<VerifyResult> CheckLines(Playlist& playlist);
    // The line from start to end (its terminator); a removal moves next past the removed terminator.
    std::optional<VerifyResult> CheckLine(Playlist& playlist, std::size_t start, std::size_t end, std::size_t& next);
    std::optional<VerifyResult> Decide(Playlist& playlist, const FileNotFoundQuestion& question, std::size_t start,
                                       std::size_t end, std::size_t& next);
    VerifyResult WriteBack(const Playlist& playlist);
    // Asks before a read-only playlist changes and clears the attribute; nothing when it may change.
    std::optional<VerifyResult> MakeWritable(const Playlist& playlist, uint32_t attributes);
    // Rewrite and deletion: true when done; the offer of a profile follows.
    bool Store(const Playlist& playlist, const std::string& content);
    bool Delete(const Playlist& playlist);
    // Cancelled when the cancel flag is set, DeviceGone when the device has gone.
    std::optional<VerifyResult> Interruption(const std::string& root);
    std::optional<VerifyResult> Cancellation() const;
    // The end of a check that went its way: Done unless cancelled meanwhile.
    VerifyResult Finish() const;
    void ShowError(const std::string& text, const char* title);

    Collaborators collaborators_;
    PlaylistWrites writes_;
    int32_t errorsShown_ = 0;
};

}  // namespace trayhost
