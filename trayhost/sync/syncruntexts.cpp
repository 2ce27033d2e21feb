#include "trayhost/sync/syncruntexts.h"

#include <cstdio>

namespace trayhost {

namespace {

constexpr std::size_t kFormattedTextSize = 512;
// FormatMessage gives at most this many characters of a system error's text.
constexpr std::size_t kErrorTextLimit = 255;
// A message lists this many names of a kind; the rest are counted.
constexpr std::size_t kNamesListed = 10;

std::string Counted(const char* format, const SyncCounts& counts)
{
    char text[kFormattedTextSize];
    std::snprintf(text, sizeof text, format, counts.current, counts.total);
    return text;
}

void AppendNames(std::string& text, const char* heading, const std::vector<std::string>& names)
{
    if (names.empty()) return;
    if (!text.empty()) text += "\n\n";
    text += heading;
    for (std::size_t i = 0; i < names.size() && i < kNamesListed; ++i) text += "\n" + names[i];
    if (names.size() > kNamesListed) text += "\n... and " + std::to_string(names.size() - kNamesListed) + " more";
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

std::string LeftAloneText(const std::vector<std::string>& unreadableFolders,
                          const std::vector<std::string>& unholdableNames)
{
    std::string text;
    AppendNames(text,
                "These folders could not be read, so nothing was deleted or copied back below their counterparts:",
                unreadableFolders);
    AppendNames(text, "These names hold characters the system code page cannot show, so they were left alone:",
                unholdableNames);
    return text;
}

}  // namespace trayhost
