#include "trayhost/sync/syncruntexts.h"

#include "trayhost/sync/syncfilefacts.h"

#include <array>
#include <cstdio>

namespace trayhost {

namespace {

constexpr std::size_t kFormattedTextSize = 512;
// FormatMessage gives at most this many characters of a system error's text.
constexpr std::size_t kErrorTextLimit = 255;
constexpr std::size_t kDigitsPerGroup = 3;
// The groups of the report, in their order.
struct ProblemHeading {
    SyncProblem::Kind kind;
    const char* heading;
};
constexpr std::array kProblemHeadings{
    ProblemHeading{SyncProblem::Kind::ItemNotRun,
                   "These items could not be synchronized, so nothing was copied or deleted for them:"},
    ProblemHeading{SyncProblem::Kind::UnreadableFolder,
                   "These folders could not be read, so nothing was deleted or copied back below their counterparts:"},
    ProblemHeading{SyncProblem::Kind::NotCopied, "These were not copied:"},
    ProblemHeading{SyncProblem::Kind::NotCleanedUp, "These were not cleaned up, as the deletions were not confirmed:"},
    ProblemHeading{SyncProblem::Kind::LeftAlone, "These were left alone, neither deleted nor copied back:"},
    ProblemHeading{SyncProblem::Kind::StateNotSaved,
                   "The record of this synchronization could not be saved, so the next one will take every file for "
                   "new:"},
};

// "1,234,567".
std::string WithThousands(std::size_t count)
{
    const std::string digits = std::to_string(count);
    std::string grouped;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % kDigitsPerGroup == 0) grouped += ',';
        grouped += digits[at];
    }
    return grouped;
}

std::string Counted(const char* format, const SyncCounts& counts)
{
    char text[kFormattedTextSize];
    std::snprintf(text, sizeof text, format, counts.current, counts.total);
    return text;
}

void AppendGroup(std::string& text, const ProblemHeading& group, const std::vector<SyncProblem>& problems,
                 const std::function<std::string(const std::string&)>& shownPath, std::size_t namesListed)
{
    std::size_t count = 0;
    for (const SyncProblem& problem : problems) {
        if (problem.kind != group.kind) continue;
        if (count == 0) text += (text.empty() ? "" : "\n\n") + std::string(group.heading);
        if (count++ >= namesListed) continue;
        // An item without paths has only its reason to show.
        if (problem.path.empty()) {
            text += "\n" + problem.reason;
            continue;
        }
        text += "\n" + shownPath(problem.path);
        if (!problem.reason.empty()) text += " (" + problem.reason + ")";
    }
    if (count > namesListed) text += "\n... and " + std::to_string(count - namesListed) + " more";
}

}  // namespace

std::string SyncStatusText(SyncNotice notice, const SyncCounts& counts)
{
    switch (notice) {
    case SyncNotice::SyncingDevice:
        return Counted("Syncing device contents (%d of %d)...\r\n", counts) + counts.path;
    case SyncNotice::Cancelled:
        return "Synchronization canceled.  This may take a few seconds...";
    case SyncNotice::DeviceLost:
        return "Synchronization aborted.  The device is no longer connected to the system or is not working properly.";
    case SyncNotice::Initializing:
        return "Initializing Synchronization...";
    case SyncNotice::Deleting:
        return Counted("Deleting destination contents (%d of %d)...", counts);
    case SyncNotice::SyncingPc:
        return Counted("Syncing PC contents (%d of %d)...", counts);
    case SyncNotice::AcquiringInfo:
        return "Acquiring synchronization info...";
    case SyncNotice::Aborted:
        return "Synchronization aborted.  This may take a few seconds...";
    case SyncNotice::Finished:
    case SyncNotice::CleaningUp:
        return "Synchronization finished.";
    case SyncNotice::Complete:
        return "Synchronization Complete";
    case SyncNotice::DestinationFull:
        return "Synchronization aborted: Destination full";
    }
    return {};
}

std::string SyncStatusLine(SyncNotice notice, const SyncCounts& counts)
{
    const std::string text = SyncStatusText(notice, counts);
    return notice == SyncNotice::Complete ? text : "Status:  " + text;
}

std::optional<std::string> SyncPathLine(SyncNotice notice, const SyncCounts& counts)
{
    switch (notice) {
    case SyncNotice::AcquiringInfo:
        return Counted("Path Items:  Syncing (%d of %d)", counts);
    case SyncNotice::Finished:
        return "Path Items:  Done";
    case SyncNotice::CleaningUp:
        return "Cleaning up synchronization information...";
    case SyncNotice::DestinationFull:
        return "Disk is Full. Aborted Sync";
    default:
        return std::nullopt;
    }
}

std::string DestinationErrorText(const std::string& destinationRoot, const std::string& errorText)
{
    return "The following error occurred while creating the synchronization path '" + destinationRoot + "':\n\n" +
           errorText.substr(0, kErrorTextLimit) + "\nSynchronization aborted.";
}

std::string SyncProblemsText(const std::vector<SyncProblem>& problems,
                             const std::function<std::string(const std::string&)>& shownPath,
                             std::size_t namesListed)
{
    std::string text;
    for (const ProblemHeading& group : kProblemHeadings) AppendGroup(text, group, problems, shownPath, namesListed);
    return text;
}

std::string CountOf(std::size_t count, const char* one, const char* many)
{
    return WithThousands(count) + " " + (count == 1 ? one : many);
}

std::string MassDeletionQuestion(std::size_t deletions, std::size_t files, bool onDevice, const std::string& shownSource,
                                 const std::string& shownDestination)
{
    const bool one = deletions == 1;
    const std::string question = "Delete " + CountOf(deletions, "file", "files") + " on " +
                                 (onDevice ? "the device" : "the PC") + (one ? " that is" : " that are") + " not in " +
                                 shownSource + "?";
    const std::string share = files == 1           ? "That is the only file in "
                              : deletions == files ? "That is every file in "
                                                   : "That is " + WithThousands(deletions) + " of the " +
                                                         CountOf(files, "file", "files") + " in ";
    return question + "\n\n" + share + shownDestination + ".\nNo keeps " + (one ? "it" : "them all") +
           "; the copies are made either way.";
}

std::string MissingPathReason(std::size_t itemNumber, bool pcPathMissing, bool devicePathMissing)
{
    const char* missing = pcPathMissing && devicePathMissing ? "neither a PC path nor a device path"
                          : pcPathMissing                    ? "no PC path"
                                                             : "no device path";
    return "item " + std::to_string(itemNumber) + " has " + missing;
}

std::string TypeMismatchReason(bool pcIsFile, const std::string& devicePath)
{
    return pcIsFile ? "it is a file, and " + devicePath + " a folder: a file is only kept in step with a file"
                    : "it is a folder, and " + devicePath + " a file: a folder is only kept in step with a folder";
}

std::string NameMismatchReason(const std::string& devicePath)
{
    return "its name is not that of " + devicePath + ", and a file is only kept in step with a file of its name";
}

std::string NotCleanedUpReason(std::size_t filesKept)
{
    return "kept " + CountOf(filesKept, "file", "files") + " that the source does not have";
}

std::string ForbiddenCharacterReason(char character)
{
    const std::string named = static_cast<unsigned char>(character) < kFirstCharacterFatAllows
                                  ? std::string("a control character")
                                  : "'" + std::string(1, character) + "'";
    return "its name holds " + named + ", which FAT and Windows names cannot hold";
}

std::string CasePairReason(const std::string& otherName)
{
    return "it differs only in letter case from " + otherName + " beside it, which FAT takes for the same name";
}

}  // namespace trayhost
