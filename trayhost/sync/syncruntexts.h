#pragma once

#include "trayhost/sync/syncproblem.h"
#include "trayhost/sync/syncrunview.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the person is told about a sync run: the progress dialog's texts for each notice, and the
// run's messages. Shared by the tray program and the command-line tool.
namespace trayhost {

// The status text of a notice: "Synchronization finished."; "Syncing device contents (3 of 40)...",
// a CR LF and the path.
std::string SyncStatusText(SyncNotice notice, const SyncCounts& counts);
// The whole status line of dialog 160: "Status:  " and the text; Complete shows
// "Synchronization Complete" alone.
std::string SyncStatusLine(SyncNotice notice, const SyncCounts& counts);
// The line under the device (control 1030) after a notice; empty when the notice leaves it as it is.
std::optional<std::string> SyncPathLine(SyncNotice notice, const SyncCounts& counts);

// The message when the destination root of an item cannot be created; errorText is the system's
// text for the error.
std::string DestinationErrorText(const std::string& destinationRoot, const std::string& errorText);

// The report of what a run could not do: its problems grouped by kind in a fixed order, each group
// under a heading of its own, one path a line in the order found, with its reason. A group lists at
// most namesListed paths and counts the rest. shownPath gives each path as the person knows it.
// Empty when there is nothing to tell.
std::string SyncProblemsText(const std::vector<SyncProblem>& problems,
                             const std::function<std::string(const std::string&)>& shownPath,
                             std::size_t namesListed);

// "1 file", "1,234 files": the count with a comma between thousands, and the noun that fits it.
std::string CountOf(std::size_t count, const char* one, const char* many);

// The question before a clean-up that would delete most of its destination (IsMassDeletion):
// "Delete 1,234 files on the device that are not in /home/me/Music?", with what that is of the
// destination and what No does. The roots as the person knows them.
std::string MassDeletionQuestion(std::size_t deletions, std::size_t files, bool onDevice, const std::string& shownSource,
                                 const std::string& shownDestination);

// Why an item could not run; its problem names the path the reason is about.
inline constexpr const char* kRootMissingReason = "it does not exist";
inline constexpr const char* kRootUnreadableReason = "it could not be read";
inline constexpr const char* kNoDirectionReason = "the profile has no valid direction";
// itemNumber: 1-based. Names the path that is missing, or both.
std::string MissingPathReason(std::size_t itemNumber, bool pcPathMissing, bool devicePathMissing);
// Told of the PC path: it is a file and the device path a folder, or the other way round.
std::string TypeMismatchReason(bool pcIsFile, const std::string& devicePath);
// Told of the PC file, both ways: the device file has another name.
std::string NameMismatchReason(const std::string& devicePath);
// Told of a destination root whose clean-up was not confirmed: the files it kept.
std::string NotCleanedUpReason(std::size_t filesKept);

// Why an entry was left out or not copied.
inline constexpr const char* kCodePageLacksReason = "its name holds characters the system code page cannot show";
// "its name holds ':', which FAT and Windows names cannot hold"; a control character is named so.
std::string ForbiddenCharacterReason(char character);
inline constexpr const char* kEndsAsFatDropsReason = "its name ends with a dot or a space, which FAT drops";
// otherName: the name beside it that differs only in letter case.
std::string CasePairReason(const std::string& otherName);
inline constexpr const char* kNotRegularFileReason =
    "it is a named pipe, a socket, a device or a broken link, not a regular file";
inline constexpr const char* kTooLargeForFatReason = "it is larger than the 4 GiB a file on FAT32 can hold";

inline constexpr const char* kSyncDialogTitle = "Device Synchronization";
inline constexpr const char* kSyncPathCaption = "Path Item:";

inline constexpr const char* kSyncNoDeviceText =
    "No Vantor Kova MP3 or Corvane Kova Personal Jukebox devices were detected.  Please verify all device "
    "connection(s) to the PC and that the device(s) are working properly";
inline constexpr const char* kSyncNoDeviceTitle = "Kova Synchronization Aborted";
inline constexpr const char* kSyncThreadErrorText =
    "Error creating the Kova MP3/Personal Jukebox Synchronization thread process.  Sync aborted.";
inline constexpr const char* kSyncThreadErrorTitle = "Syncing Error";
inline constexpr const char* kInvalidOptionText = "Invalid synchronization option specified.  Synchronization aborted.";
inline constexpr const char* kInvalidOptionTitle = "Invalid Option";
inline constexpr const char* kInvalidSyncPathsText = "Must specify valid synchronization path options.";
inline constexpr const char* kInvalidSyncPathsTitle = "Invalid Sync Paths";
inline constexpr const char* kSyncExceptionText =
    "An unexpected exception occurred creating the synchronization process.  Syncronization aborted.";
inline constexpr const char* kSyncExceptionTitle = "ERROR";
inline constexpr const char* kSyncWatchdogText =
    "Unexpected device error has occurred.  Sync application will be aborted and shut down.  Check that the "
    "device is functioning properly and recommended to shut down and restart Windows.";
inline constexpr const char* kSyncWatchdogTitle = "Error";
inline constexpr const char* kDestinationErrorTitle = "Sync Error";
// Another program of the user (the tray program or kovahdd) is synchronising.
inline constexpr const char* kSyncRunningText =
    "Another synchronization is running.  Wait until it has finished, then synchronize again.";
inline constexpr const char* kSyncRunningTitle = "Kova Synchronization Aborted";
// The end-of-run report in the tray program lists this many paths of a kind; the rest are counted.
inline constexpr std::size_t kProblemPathsListed = 10;

// The Resolve Sync Conflict dialog (101).
inline constexpr const char* kConflictTitle = "Resolve Sync Conflict";
inline constexpr const char* kConflictText = "A synchronization conflict has occurred with the following files.";
inline constexpr const char* kConflictPcCaption = "PC File";
inline constexpr const char* kConflictDeviceCaption = "Device File:";
inline constexpr const char* kConflictChoiceCaption = "Select one of the following to resolve the conflict:";
inline constexpr const char* kConflictApplyToAll = "Apply to all file conflicts.";
inline constexpr const char* kConflictAbortButton = "&Abort";

// The list entries of the conflict dialog, in the dialog's order.
struct SyncConflictEntry {
    const char* text;
    SyncConflictChoice choice;
};
inline constexpr SyncConflictEntry kConflictEntries[] = {
    {"PC file overwrites Device file", SyncConflictChoice::PcOverwritesDevice},
    {"Device file overwrites PC file", SyncConflictChoice::DeviceOverwritesPc},
    {"Do Nothing", SyncConflictChoice::DoNothing},
};

}  // namespace trayhost
