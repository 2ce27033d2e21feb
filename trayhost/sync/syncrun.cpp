#include "trayhost/sync/syncrun.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "trayhost/sync/massdeletion.h"
#include "trayhost/sync/pcpathtext.h"
#include "trayhost/sync/syncfilefacts.h"
#include "trayhost/sync/syncpaths.h"
#include "trayhost/sync/syncrecordsort.h"
#include "trayhost/sync/syncruntexts.h"
#include "trayhost/sync/synctreescan.h"

#include <algorithm>
#include <cctype>

namespace trayhost {

namespace {

constexpr uint32_t kSettableAttributes = platform::kAttributeReadOnly | platform::kAttributeHidden |
                                         platform::kAttributeSystem | platform::kAttributeArchive;

bool IsReadable(uint32_t attributes)
{
    return attributes != platform::kInvalidAttributes;
}

bool IsReadOnly(uint32_t attributes)
{
    return IsReadable(attributes) && (attributes & platform::kAttributeReadOnly) != 0;
}

// The attributes a scan gave a record; none for no record, or one the scan did not make.
uint32_t ScannedAttributes(const SyncFileRecord* record)
{
    return record && record->attributes != 0 ? record->attributes : platform::kInvalidAttributes;
}

// The path on the other side that stands for a path below fromRoot: the same path below toRoot,
// or toRoot itself when that names a file.
std::string CounterpartOf(const std::string& path, const std::string& fromRoot, const std::string& toRoot,
                          bool toRootIsFile)
{
    if (toRootIsFile) return toRoot;
    std::string rest = path.substr(std::min(fromRoot.size(), path.size()));
    if (!rest.empty() && rest.front() == '\\') rest.erase(0, 1);
    return rest.empty() ? toRoot : platform::JoinPath(toRoot, rest);
}

// The path is the folder or lies below it (letter case aside).
bool IsAtOrBelow(const std::string& path, const std::string& folder)
{
    if (path.size() < folder.size()) return false;
    if (!platform::EqualsNoCase(std::string_view(path).substr(0, folder.size()), folder)) return false;
    return path.size() == folder.size() || platform::EndsWithBackslash(folder) || path[folder.size()] == '\\';
}

// The attributes a copy gives its target: the source's hidden, system and archive bits, never
// read-only. Unknown ones are the source's own, as the copy reads them.
std::optional<uint32_t> CarriedAttributes(uint32_t source)
{
    if (!IsReadable(source)) return std::nullopt;
    return source & kCarriedAttributes;
}

// Why the file of the record cannot be copied, foreseen from what the scan listed; none when it can.
std::optional<std::string> WhyCannotCopy(const SyncFileRecord& from, bool toDevice)
{
    if ((from.attributes & platform::kAttributeDevice) != 0) return kNotRegularFileReason;
    if (toDevice && !FitsOnFat32(from.FullSize())) return kTooLargeForFatReason;
    return std::nullopt;
}

}  // namespace

// The working data of one item.
struct SyncRun::Item {
    SyncItem& paths;
    std::string sourceRoot;
    std::string destinationRoot;
    bool sourceIsFile = false;
    bool destinationIsFile = false;
    SyncRecordMap& sourceMap;       // pcFiles, or deviceFiles with DeviceToPc
    SyncRecordMap& destinationMap;  // the other one
    // Destination entries not yet matched by a source entry: what is left after the first pass has
    // no source.
    SyncRecordMap pending;
    // Destination paths at or below which nothing is written, deleted or copied back: the
    // counterparts of source folders that could not be read or are links the scan did not follow,
    // and of entries either scan left out.
    std::vector<std::string> leftAlone;
    // Destination folders whose entries the scan does not know: folders that could not be read,
    // and links it did not follow.
    std::vector<std::string> unlistedDestinations;

    std::string DestinationOf(const std::string& sourcePath) const
    {
        return CounterpartOf(sourcePath, sourceRoot, destinationRoot, destinationIsFile);
    }
    std::string SourceOf(const SyncFileRecord& destination) const
    {
        return CounterpartOf(destination.path, destinationRoot, sourceRoot, sourceIsFile);
    }
    bool IsLeftAlone(const std::string& destination) const
    {
        return std::any_of(leftAlone.begin(), leftAlone.end(),
                           [&](const std::string& path) { return IsAtOrBelow(destination, path); });
    }
    // No entry of the destination's name was there in any letter case when its folder was listed.
    bool IsNewDestination(const std::string& destination) const
    {
        return !destinationMap.Contains(destination) &&
               std::none_of(unlistedDestinations.begin(), unlistedDestinations.end(),
                            [&](const std::string& folder) { return IsAtOrBelow(destination, folder); });
    }
    // The attributes the destination side's scan listed for the path; none when it did not list it.
    uint32_t DestinationAttributes(const std::string& destination) const
    {
        return ScannedAttributes(destinationMap.Find(destination));
    }
};

SyncRun::SyncRun(const Collaborators& collaborators) : collaborators_(collaborators) {}

bool SyncRun::SynchronizeItems()
{
    bool ran = true;
    for (std::size_t index = 0; index < collaborators_.settings.items.size() && ran; ++index) {
        if (collaborators_.cancel.load() != 0 || !DevicePresent()) break;
        ran = SynchronizeItem(index);
    }
    FlushDevice();
    return ran;
}

SyncOutcome SyncRun::outcome() const
{
    if (collaborators_.cancel.load() != 0) return SyncOutcome::Cancelled;
    if (flushFailed_ || !DevicePresent()) return SyncOutcome::DeviceLost;
    if (diskFull_) return SyncOutcome::DestinationFull;
    return SyncOutcome::Completed;
}

bool SyncRun::SynchronizeItem(std::size_t index)
{
    SyncSettings& settings = collaborators_.settings;
    collaborators_.view.Notice(SyncNotice::AcquiringInfo,
                               {static_cast<int32_t>(index + 1), static_cast<int32_t>(settings.items.size()), {}});
    SyncItem& paths = settings.items[index];
    if (std::optional<SyncProblem> problem = ValidateSyncItem(settings, index)) {
        NotRun(paths, std::move(*problem));
        return true;
    }
    const bool fromDevice = settings.option == SyncOption::DeviceToPc;
    Item item{.paths = paths,
              .sourceRoot = *SourceRoot(settings, index),
              .destinationRoot = *DestinationRoot(settings, index),
              .sourceMap = fromDevice ? paths.deviceFiles : paths.pcFiles,
              .destinationMap = fromDevice ? paths.pcFiles : paths.deviceFiles,
              .pending = {},
              .leftAlone = {},
              .unlistedDestinations = {}};
    // A root the code page cannot show would be found by a lookup that may take another folder.
    for (const std::string* root : {&item.sourceRoot, &item.destinationRoot}) {
        if (!PathTheRunCanHold(*root)) {
            NotRun(paths, {SyncProblem::Kind::ItemNotRun, *root, ForbiddenCharacterReason('?')});
            return true;
        }
    }
    // The two paths are of one type (ValidateSyncItem); a missing destination is made of the source's.
    item.sourceIsFile = item.destinationIsFile = TypesOfItemPaths(paths.pcPath, paths.devicePath).pcIsFile;
    if (!PrepareDestination(item)) return false;

    if (!ScanBothSides(item)) {
        NotRun(paths, {SyncProblem::Kind::ItemNotRun, item.sourceRoot, kRootUnreadableReason});
        return true;
    }
    if (collaborators_.cancel.load() == 0 && DevicePresent()) {
        const std::size_t cleanableFiles = CleanableFiles(item);
        FirstPass(item);
        FinishCopies(item);
        if (!Stopping() && !diskFull_ && SecondPassWanted(item, cleanableFiles)) SecondPass(item);
        FinishCopies(item);
    }
    MergeIntoStateMap(paths);
    return true;
}

// An item that cannot run changes nothing, and keeps its records of the last run for the next: were
// they dropped, a both-ways run once its folder is back would take every file for a conflict.
void SyncRun::NotRun(SyncItem& item, SyncProblem problem)
{
    problems_.push_back(std::move(problem));
    const SyncRecordMap& stateMap = collaborators_.settings.stateMap;
    item.pcFiles.Clear();
    item.deviceFiles.Clear();
    if (!item.pcPath.empty()) item.pcFiles.CopyWithin(stateMap, item.pcPath);
    if (!item.devicePath.empty()) item.deviceFiles.CopyWithin(stateMap, item.devicePath);
}

bool SyncRun::PrepareDestination(const Item& item)
{
    const std::string& destinationRoot = item.destinationRoot;
    if (IsDriveRoot(destinationRoot)) return true;
    SyncFileSystem& files = collaborators_.files;
    uint32_t error = platform::kErrorSuccess;
    bool made = false;
    if (item.destinationIsFile) {
        made = files.CreateFolderPath(destinationRoot, error);
    } else {
        made = files.CreateDirectory(destinationRoot);
        if (!made) error = platform::GetLastError();
    }
    if (!made && error != platform::kErrorAlreadyExists) {
        collaborators_.userInterface.MessageBox(
            collaborators_.view.owner(),
            DestinationErrorText(SyncPathForMessage(destinationRoot, collaborators_.settings.deviceLetter),
                                 platform::ErrorMessage(error)),
            kDestinationErrorTitle, kMbOk | kMbIconExclamation);
        collaborators_.view.Close();
        return false;
    }
    CarryAttributes(destinationRoot, files.GetAttributes(item.sourceRoot));
    return true;
}

bool SyncRun::ScanBothSides(Item& item)
{
    SyncSettings& settings = collaborators_.settings;
    // Without the records of an earlier run, every file counts as changed.
    const bool markNew = settings.stateMap.empty();
    SyncTreeScan scan({collaborators_.files, settings.stateMap, collaborators_.cancel,
                       [this] { return DevicePresentLately(); }, collaborators_.userInterface});
    const bool fromDevice = settings.option == SyncOption::DeviceToPc;
    // The roots are of one type (SynchronizeItem). The PC's names go to the device unless the
    // device is the only source.
    const SyncScanResult pc = scan.Scan(item.paths.pcPath, item.sourceIsFile, item.paths.pcFiles, markNew,
                                        fromDevice ? SyncTreeScan::Names::Kept : SyncTreeScan::Names::GoToFat);
    const SyncScanResult device = scan.Scan(item.paths.devicePath, item.sourceIsFile, item.paths.deviceFiles,
                                            markNew, SyncTreeScan::Names::Kept);
    const SyncScanResult& source = fromDevice ? device : pc;
    const SyncScanResult& destination = fromDevice ? pc : device;
    // A source root that cannot be listed is unknown, not empty.
    if (std::any_of(source.unreadableFolders.begin(), source.unreadableFolders.end(),
                    [&](const std::string& folder) { return IsAtOrBelow(item.sourceRoot, folder); })) {
        return false;
    }
    for (const SyncScanResult* side : {&pc, &device}) {
        for (const std::string& folder : side->unreadableFolders) {
            problems_.push_back({SyncProblem::Kind::UnreadableFolder, folder, {}});
        }
    }
    for (const std::vector<std::string>* unknown : {&source.unreadableFolders, &source.folderLinks}) {
        for (const std::string& folder : *unknown) item.leftAlone.push_back(item.DestinationOf(folder));
    }
    for (const SyncLeftOut& leftOut : source.leftOut) {
        const std::string destination = item.DestinationOf(leftOut.path);
        NotCopied({leftOut.path, destination, {}, false}, leftOut.reason);
        item.leftAlone.push_back(destination);
    }
    for (const SyncLeftOut& leftOut : destination.leftOut) {
        problems_.push_back({SyncProblem::Kind::LeftAlone, leftOut.path, leftOut.reason});
        item.leftAlone.push_back(leftOut.path);
    }
    for (const std::vector<std::string>* unknown : {&destination.unreadableFolders, &destination.folderLinks}) {
        item.unlistedDestinations.insert(item.unlistedDestinations.end(), unknown->begin(), unknown->end());
    }
    // Only the sides the run writes to: a killed copy left its file where it wrote.
    RemoveLeftoverTemporaries(destination.leftoverTemporaries);
    if (settings.option == SyncOption::SyncBoth) RemoveLeftoverTemporaries(source.leftoverTemporaries);
    item.pending = item.destinationMap;
    return true;
}

void SyncRun::RemoveLeftoverTemporaries(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) collaborators_.files.DeleteFile(path);
}

void SyncRun::FirstPass(Item& item)
{
    const std::vector<KeyedRecord> sources = SortedRecords(item.sourceMap);
    const auto total = static_cast<int32_t>(sources.size());
    for (int32_t i = 0; i < total; ++i) {
        if (collaborators_.cancel.load() != 0) return;
        const SyncFileRecord& source = sources[static_cast<std::size_t>(i)].record;
        const std::string destination = item.DestinationOf(source.path);
        collaborators_.view.Notice(SyncNotice::SyncingDevice, {i + 1, total, destination});
        // A file that went away since the scan fails its copy and is passed by.
        Step step = Step::Next;
        if (!item.IsLeftAlone(destination)) {
            step = source.isFolder ? SyncFolder(item, source, destination) : SyncFile(item, source, destination);
        }
        if (step == Step::Stop) return;
        // Whatever happened to it, the destination counts as matched.
        item.pending.Remove(destination);
    }
}

SyncRun::Step SyncRun::SyncFolder(Item& item, const SyncFileRecord& source, const std::string& destination)
{
    SyncFileSystem& files = collaborators_.files;
    if (!files.Exists(source.path)) return Step::Next;
    std::optional<uint32_t> destinationAttributes;
    if (files.CreateDirectory(destination)) {
        ++tally_.copied;
        collaborators_.view.Performed({SyncAction::Kind::Copy, source.path, destination, {}});
        destinationAttributes = platform::kAttributeDirectory;
    } else if (platform::GetLastError() != platform::kErrorAlreadyExists && !DevicePresent()) {
        return Step::Stop;
    } else if (const uint32_t known = item.DestinationAttributes(destination); IsReadable(known)) {
        destinationAttributes = known;
    }
    CarryAttributes(destination, ScannedAttributes(&source), destinationAttributes);
    if (!item.destinationMap.Contains(destination)) item.destinationMap.Put({.path = destination, .isFolder = true});
    return Step::Next;
}

SyncRun::Step SyncRun::SyncFile(Item& item, const SyncFileRecord& source, const std::string& destination)
{
    uint32_t sourceAttributes = ScannedAttributes(&source);
    uint32_t destinationAttributes = item.DestinationAttributes(destination);
    const bool destinationExisted = IsReadable(destinationAttributes);
    if (IsReadOnly(destinationAttributes) && ClearReadOnly(destination, destinationAttributes) == Step::Stop) {
        return Step::Stop;
    }
    if (destinationExisted) CarryAttributes(destination, sourceAttributes, destinationAttributes);

    const SyncFileRecord* known = item.pending.Find(destination);
    Decision decision = destinationExisted && known ? Decide(source, *known) : Decision::Copy;
    if (decision == Decision::Conflict) decision = ResolveConflict(source, *known);
    // Either way the copy takes the source's attributes as a copy carries them: the device's file
    // was given them above.
    SyncCopy copy{source.path, destination, CarriedAttributes(sourceAttributes), item.IsNewDestination(destination)};
    switch (decision) {
    case Decision::Skip:
        return Step::Next;
    case Decision::Conflict:  // aborted
        return Step::Stop;
    case Decision::Copy:
        return Copy(item, copy, source, false);
    case Decision::CopyBack:
        std::swap(copy.from, copy.to);
        if (IsReadOnly(sourceAttributes) && ClearReadOnly(source.path, sourceAttributes) == Step::Stop) {
            return Step::Stop;
        }
        return Copy(item, copy, *known, true);
    }
    return Step::Next;
}

SyncRun::Decision SyncRun::Decide(const SyncFileRecord& source, const SyncFileRecord& destination) const
{
    const bool sameFile = source.size == destination.size && SameTimeOnBothSides(source.modTime, destination.modTime);
    if (collaborators_.settings.option != SyncOption::SyncBoth) {
        return !source.changed && !destination.changed && sameFile ? Decision::Skip : Decision::Copy;
    }
    if ((source.changed && destination.changed) || !sameFile) return Decision::Conflict;
    if (source.changed) return Decision::Copy;
    if (destination.changed) return Decision::CopyBack;
    return Decision::Skip;
}

// Both ways: asks which file wins, unless the answer applies to all. After Abort the decision is
// Conflict, and the cancel flag is set.
SyncRun::Decision SyncRun::ResolveConflict(const SyncFileRecord& source, const SyncFileRecord& destination)
{
    ++tally_.conflicts;
    collaborators_.view.Performed({SyncAction::Kind::Conflict, source.path, destination.path, {}});
    SyncConflictMemory& conflicts = collaborators_.conflicts;
    if (!conflicts.applyToAll) {
        const SyncConflictAnswer answer = collaborators_.userInterface.AskSyncConflict(
            collaborators_.view.owner(), {source.path, destination.path, conflicts.choice});
        if (answer.result == kIdAbort) {
            collaborators_.userInterface.MessageBeep(platform::kBeepExclamation);
            collaborators_.view.Notice(SyncNotice::Aborted);
            collaborators_.cancel = 1;
            endDelay_ = kAbortEndDelay;
            return Decision::Conflict;
        }
        if (answer.result != kIdOk) return Decision::Skip;
        conflicts.choice = answer.choice;
        conflicts.applyToAll = answer.applyToAll;
    }
    switch (conflicts.choice) {
    case SyncConflictChoice::PcOverwritesDevice: return Decision::Copy;
    case SyncConflictChoice::DeviceOverwritesPc: return Decision::CopyBack;
    case SyncConflictChoice::DoNothing: break;
    }
    return Decision::Skip;
}

// Starts a copy of a file, unless it cannot be copied; back is a copy from the destination side to
// the source side. Stop when a copy failed for a full disk or a lost device.
SyncRun::Step SyncRun::Copy(Item& item, const SyncCopy& copy, const SyncFileRecord& from, bool back)
{
    if (std::optional<std::string> reason = WhyCannotCopy(from, OnDevice(copy.to))) {
        NotCopied(copy, std::move(*reason));
        return Step::Next;
    }
    if (!collaborators_.files.StartCopy(copy)) return CopyFailed(copy, platform::GetLastError());
    collaborators_.view.Performed({back ? SyncAction::Kind::CopyBack : SyncAction::Kind::Copy, copy.from, copy.to, {}});
    started_.push_back({copy, back});
    return collaborators_.files.CopiesDue() ? FinishCopies(item) : Step::Next;
}

// Puts the copies started in their targets' places. Stop when one failed for a full disk or a lost
// device.
SyncRun::Step SyncRun::FinishCopies(Item& item)
{
    if (started_.empty()) return Step::Next;
    const std::vector<SyncCopyOutcome> outcomes = collaborators_.files.FinishCopies();
    Step step = Step::Next;
    for (std::size_t i = 0; i < started_.size() && i < outcomes.size(); ++i) {
        if (outcomes[i].error == platform::kErrorSuccess) {
            Copied(item, started_[i], outcomes[i].status);
        } else if (CopyFailed(started_[i].copy, outcomes[i].error) == Step::Stop) {
            step = Step::Stop;
        }
    }
    started_.clear();
    return step;
}

// The target's record in its side's map takes the copy's time and size.
void SyncRun::Copied(Item& item, const StartedCopy& started, const std::optional<SyncFileStatus>& status)
{
    if (status) {
        SyncRecordMap& targetMap = started.back ? item.sourceMap : item.destinationMap;
        SyncFileRecord* record = targetMap.Find(started.copy.to);
        if (!record) record = &targetMap.Put({.path = started.copy.to});
        record->modTime = status->modTime;
        record->size = status->size;
    }
    ++(started.back ? tally_.copiedBack : tally_.copied);
}

// A full disk or a lost device stops the pass, and the run's outcome tells it. Any other failure
// passes the file by, to be told at the end; a cancelled copy is no failure.
SyncRun::Step SyncRun::CopyFailed(const SyncCopy& copy, uint32_t error)
{
    if (error == platform::kErrorDiskFull) diskFull_ = true;
    if (diskFull_ || !DevicePresent()) return Step::Stop;
    if (error != platform::kErrorRequestAborted) NotCopied(copy, platform::ErrorMessage(error));
    return Step::Next;
}

void SyncRun::NotCopied(const SyncCopy& copy, std::string reason)
{
    collaborators_.view.Performed({SyncAction::Kind::CannotCopy, copy.from, copy.to, reason});
    problems_.push_back({SyncProblem::Kind::NotCopied, copy.from, std::move(reason)});
}

// The files below the destination root that a clean-up could delete: those the destination's scan
// found (or, after the first pass, those left without a source), but for the player's own folder and
// what the run leaves alone.
std::size_t SyncRun::CleanableFiles(const Item& item) const
{
    const char deviceLetter = collaborators_.settings.deviceLetter;
    return static_cast<std::size_t>(std::count_if(item.pending.begin(), item.pending.end(), [&](const auto& entry) {
        const SyncFileRecord& record = entry.second;
        return !record.isFolder && !IsInDeviceSystemFolder(deviceLetter, record.path) && !item.IsLeftAlone(record.path);
    }));
}

// Both ways, what is only on the device is copied back. One way, a clean-up deletes what has no
// source, once confirmed when that is most of what the destination holds.
bool SyncRun::SecondPassWanted(const Item& item, std::size_t cleanableFiles)
{
    const SyncSettings& settings = collaborators_.settings;
    if (settings.option == SyncOption::SyncBoth) return true;
    return settings.fileCleanup && CleanUpConfirmed(item, cleanableFiles);
}

// Asks before a clean-up that would delete every file of its destination, or most of a large one;
// without a yes, every file stays and the destination is told as not cleaned up.
bool SyncRun::CleanUpConfirmed(const Item& item, std::size_t cleanableFiles)
{
    const std::size_t deletions = CleanableFiles(item);
    if (!IsMassDeletion(deletions, cleanableFiles)) return true;
    const char deviceLetter = collaborators_.settings.deviceLetter;
    const std::string question =
        MassDeletionQuestion(deletions, cleanableFiles, OnDevice(item.destinationRoot),
                             SyncPathForMessage(item.sourceRoot, deviceLetter),
                             SyncPathForMessage(item.destinationRoot, deviceLetter));
    const int32_t answer = collaborators_.userInterface.MessageBox(collaborators_.view.owner(), question, kSyncDialogTitle,
                                                                   kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
    if (answer == kIdYes) return true;
    problems_.push_back({SyncProblem::Kind::NotCleanedUp, item.destinationRoot, NotCleanedUpReason(deletions)});
    return false;
}

void SyncRun::SecondPass(Item& item)
{
    const bool copyBack = collaborators_.settings.option == SyncOption::SyncBoth;
    const std::vector<KeyedRecord> unmatched = SortedRecords(item.pending);
    const auto total = static_cast<int32_t>(unmatched.size());
    for (int32_t i = 0; i < total; ++i) {
        if (Stopping() || diskFull_) return;
        const SyncFileRecord& record = unmatched[static_cast<std::size_t>(i)].record;
        collaborators_.view.Notice(copyBack ? SyncNotice::SyncingPc : SyncNotice::Deleting, {i + 1, total, {}});
        // Gone with a folder deleted before it, or below a folder whose source is unknown.
        if (!collaborators_.files.Exists(record.path) || item.IsLeftAlone(record.path)) continue;
        const Step step = copyBack ? CopyBack(item, record) : CleanUp(item, record);
        if (step == Step::Stop) return;
    }
}

SyncRun::Step SyncRun::CopyBack(Item& item, const SyncFileRecord& unmatched)
{
    SyncFileSystem& files = collaborators_.files;
    const std::string target = item.SourceOf(unmatched);
    const uint32_t attributes = ScannedAttributes(&unmatched);
    if (!unmatched.isFolder) {
        // A copy back carries every attribute, as a plain copy does.
        std::optional<uint32_t> carried;
        if (IsReadable(attributes)) carried = attributes;
        SyncCopy copy{unmatched.path, target, carried, !item.sourceMap.Contains(target)};
        return Copy(item, copy, unmatched, true);
    }
    if (!files.CreateDirectory(target)) return Step::Next;
    ++tally_.copiedBack;
    collaborators_.view.Performed({SyncAction::Kind::CopyBack, unmatched.path, target, {}});
    CarryAttributes(target, attributes, platform::kAttributeDirectory);
    if (!item.sourceMap.Contains(target)) item.sourceMap.Put({.path = target, .isFolder = true});
    return Step::Next;
}

SyncRun::Step SyncRun::CleanUp(Item& item, const SyncFileRecord& unmatched)
{
    SyncFileSystem& files = collaborators_.files;
    // The player's own folder is never touched.
    if (IsInDeviceSystemFolder(collaborators_.settings.deviceLetter, unmatched.path)) return Step::Next;
    uint32_t attributes = ScannedAttributes(&unmatched);
    if (IsReadOnly(attributes) && ClearReadOnly(unmatched.path, attributes) == Step::Stop) return Step::Stop;
    if (collaborators_.cancel.load() != 0) return Step::Stop;
    bool deleted = false;
    if (unmatched.isFolder) {
        deleted = DeleteUnmatchedTree(item, unmatched.path) && files.RemoveDirectory(unmatched.path);
    } else {
        deleted = files.DeleteFile(unmatched.path);
    }
    if (deleted) Deleted(unmatched.path);
    return deleted || DevicePresent() ? Step::Next : Step::Stop;
}

// Deletes what the folder holds that the unmatched records name; entries they do not name stay
// (and the folder with them). Never follows a link, nor touches a name the run cannot hold. False
// at the first failure.
bool SyncRun::DeleteUnmatchedTree(const Item& item, const std::string& folder)
{
    SyncFileSystem& files = collaborators_.files;
    const std::optional<std::vector<platform::FolderEntry>> listing = files.FindFiles(platform::JoinPath(folder, "*"));
    if (!listing) return true;
    for (const platform::FolderEntry& entry : *listing) {
        if (entry.name == "." || entry.name == ".." || !NameTheRunCanHold(entry.name)) continue;
        const std::string path = platform::JoinPath(folder, entry.name);
        if (!item.pending.Contains(path) || item.IsLeftAlone(path)) continue;
        if (entry.IsFolder() && entry.IsLink()) continue;
        if ((entry.attributes & platform::kAttributeReadOnly) && !files.SetAttributes(path, entry.attributes & ~platform::kAttributeReadOnly)) {
            return false;
        }
        const bool deleted = entry.IsFolder() ? DeleteUnmatchedTree(item, path) && files.RemoveDirectory(path)
                                              : files.DeleteFile(path);
        if (!deleted) return false;
        Deleted(path);
    }
    return true;
}

void SyncRun::MergeIntoStateMap(const SyncItem& item)
{
    SyncRecordMap& stateMap = collaborators_.settings.stateMap;
    for (const SyncRecordMap* side : {&item.pcFiles, &item.deviceFiles}) {
        for (const auto& [key, record] : *side) {
            SyncFileRecord merged = record;
            merged.changed = false;
            stateMap.Put(std::move(merged));
        }
    }
}

SyncRun::Step SyncRun::ClearReadOnly(const std::string& path, uint32_t& attributes)
{
    attributes &= ~platform::kAttributeReadOnly;
    if (collaborators_.files.SetAttributes(path, attributes)) return Step::Next;
    return DevicePresent() ? Step::Next : Step::Stop;
}

// Gives the target the source's attributes as a copy carries them, when they could be read.
void SyncRun::CarryAttributes(const std::string& to, uint32_t from, std::optional<uint32_t> targetAttributes)
{
    if (!IsReadable(from)) return;
    const uint32_t wanted = from & kCarriedAttributes;
    const uint32_t current = targetAttributes ? *targetAttributes : collaborators_.files.GetAttributes(to);
    // Setting what is there already would only cost a write per file on every run.
    if (IsReadable(current) && (current & kSettableAttributes) == (wanted & kSettableAttributes)) return;
    collaborators_.files.SetAttributes(to, wanted);
}

void SyncRun::Deleted(const std::string& path)
{
    ++tally_.deleted;
    collaborators_.view.Performed({SyncAction::Kind::Delete, path, {}, {}});
}

// Whatever the run's outcome, what it wrote to the device is on the device before the run tells it.
void SyncRun::FlushDevice()
{
    if (!DevicePresent()) return;
    const char root[] = {collaborators_.settings.deviceLetter, ':', '\\', '\0'};
    flushFailed_ = !collaborators_.files.FlushFileSystem(root);
}

bool SyncRun::OnDevice(const std::string& path) const
{
    const auto upper = [](char letter) { return std::toupper(static_cast<unsigned char>(letter)); };
    return !path.empty() && upper(path[0]) == upper(collaborators_.settings.deviceLetter);
}

bool SyncRun::Stopping()
{
    return collaborators_.cancel.load() != 0 || !DevicePresentLately();
}

bool SyncRun::DevicePresentLately()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - deviceSeen_ < kDeviceCheckInterval) return true;
    if (!DevicePresent()) return false;
    deviceSeen_ = now;
    return true;
}

bool SyncRun::DevicePresent() const
{
    return IsSyncDevicePresent(collaborators_.settings, collaborators_.engine);
}

}  // namespace trayhost
