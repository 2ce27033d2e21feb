#include "trayhost/verify/verificationrun.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/filesystemflush.h"
#include "platform/paths.h"
#include "trayhost/verify/userplaylistentry.h"

namespace trayhost {

namespace {

constexpr std::string_view kPlaylistExtension = "M3U";
constexpr const char* kEveryName = "*.*";

bool IsDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

std::optional<std::vector<platform::FolderEntry>> ListFolder(const std::string& folder)
{
    return platform::FindFiles(platform::JoinPath(folder, kEveryName), platform::ListingDetail::Quick);
}

}  // namespace

VerificationRun::VerificationRun(const Collaborators& collaborators) : collaborators_(collaborators) {}

VerificationRun::Outcome VerificationRun::Run(char driveLetter, const VerificationOptions& options)
{
    const std::string root{driveLetter, ':'};
    const std::string folder = platform::JoinPath(root, std::string(kUserPlaylistFolderName));

    int32_t count = 0;
    const VerifyResult counted = CountPlaylists(folder, count);
    // A cancel while counting is a cancel like any other, not a device that went away.
    if (counted == VerifyResult::Cancelled) return OutcomeOf(counted);
    if (counted != VerifyResult::Done) return Outcome::DeviceGone;
    if (count == 0) return Outcome::NoPlaylists;

    PromptDecisions decisions = options.decisions;
    PlaylistChecker checker({collaborators_.engine, collaborators_.userInterface, collaborators_.report,
                             collaborators_.flags, decisions},
                            options.writes);
    const VerifyResult walked = Walk(root, folder, checker);
    playlistsWithErrors_ += checker.errorsShown();
    const Outcome outcome = OutcomeOf(walked);
    if (!platform::FlushFileSystem(root) && outcome != Outcome::Cancelled && outcome != Outcome::DeviceGone) {
        collaborators_.flags.profileOffer = false;
        return Outcome::NotWrittenBack;
    }
    return outcome;
}

VerifyResult VerificationRun::CountPlaylists(const std::string& folder, int32_t& count)
{
    const std::atomic<bool>& cancel = collaborators_.flags.cancel;
    try {
        if (cancel) return VerifyResult::Cancelled;
        const auto listing = ListFolder(folder);
        if (!listing) return VerifyResult::Failed;
        count = 0;
        for (const platform::FolderEntry& entry : *listing) {
            if (cancel) return VerifyResult::Cancelled;
            if (IsDotEntry(entry.name) || entry.IsFolder()) continue;
            if (IsPlaylistFile(platform::JoinPath(folder, entry.name))) ++count;
        }
        return VerifyResult::Done;
    } catch (...) {
        return VerifyResult::Exception;
    }
}

VerifyResult VerificationRun::Walk(const std::string& root, const std::string& folder, PlaylistChecker& checker)
{
    const std::atomic<bool>& cancel = collaborators_.flags.cancel;
    try {
        const auto listing = ListFolder(folder);
        if (!listing) return VerifyResult::Done;
        for (const platform::FolderEntry& entry : *listing) {
            if (cancel) return VerifyResult::Cancelled;
            if (!collaborators_.engine.IsDevicePresent(root)) return VerifyResult::DeviceGone;
            if (IsDotEntry(entry.name)) continue;
            collaborators_.report.ShowStatus(VerifyStatus::Verifying, entry.name);
            const std::string path = platform::JoinPath(folder, entry.name);
            if (!entry.IsFolder() && IsPlaylistFile(path)) {
                const VerifyResult result = checker.Check(root, path);
                if (result == VerifyResult::FileError) {
                    collaborators_.userInterface.MessageBox(nullptr, PlaylistFileErrorText(entry.name),
                                                            kFileErrorTitle, kMbOk | kMbIconExclamation);
                    ++playlistsWithErrors_;
                } else if (result != VerifyResult::Done) {
                    return result;
                }
            }
            if (cancel) return VerifyResult::Cancelled;
        }
        return VerifyResult::Done;
    } catch (...) {
        collaborators_.userInterface.MessageBox(nullptr, kVerifyExceptionText, kVerifyErrorTitle,
                                                kMbOk | kMbIconExclamation);
        return VerifyResult::Done;
    }
}

bool VerificationRun::IsPlaylistFile(const std::string& path)
{
    const std::optional<std::string> extension = collaborators_.engine.GetFileExtension(path);
    return extension && platform::EqualsNoCase(*extension, kPlaylistExtension);
}

VerificationRun::Outcome VerificationRun::OutcomeOf(VerifyResult result)
{
    VerificationFlags& flags = collaborators_.flags;
    if (flags.cancel || result == VerifyResult::Cancelled) {
        flags.profileOffer = false;
        return Outcome::Cancelled;
    }
    if (result == VerifyResult::Done) return Outcome::Finished;
    flags.profileOffer = false;
    return result == VerifyResult::DeviceGone ? Outcome::DeviceGone : Outcome::Stopped;
}

VerifyStatus FinalStatusOf(VerificationRun::Outcome outcome)
{
    switch (outcome) {
    case VerificationRun::Outcome::NoPlaylists:
        return VerifyStatus::NoPlaylists;
    case VerificationRun::Outcome::DeviceGone:
    case VerificationRun::Outcome::NotWrittenBack:
        return VerifyStatus::DeviceGone;
    case VerificationRun::Outcome::Finished:
    case VerificationRun::Outcome::Stopped:
    case VerificationRun::Outcome::Cancelled:
        break;
    }
    return VerifyStatus::Finished;
}

}  // namespace trayhost
