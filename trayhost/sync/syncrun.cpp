#include "trayhost/sync/syncrun.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "trayhost/sync/syncfilefacts.h"
#include "trayhost/sync/syncpaths.h"
#include "trayhost/sync/syncrecordsort.h"
#include "trayhost/sync/syncruntexts.h"
#include "trayhost/sync/synctreescan.h"

#include <algorithm>

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
    // Destination folders at or below which nothing is deleted or copied back: the counterparts of
    // source folders that could not be read, or that are links the scan did not follow.
    std::vector<std::string> guardedFolders;
    // Destination folders whose entries the scan does not know: folders that could not be read,
    // and links it did not follow.
    std::vector<std::string> unlistedDestinations;

    std::string DestinationOf(const SyncFileRecord& source) const
    {
        return CounterpartOf(source.path, sourceRoot, destinationRoot, destinationIsFile);
    }
    std::string SourceOf(const SyncFileRecord& destination) const
    {
        return CounterpartOf(destination.path, destinationRoot, sourceRoot, sourceIsFile);
    }
    bool IsGuarded(const std::string& destination) const
    {
        return std::any_of(guardedFolders.begin(), guardedFolders.end(),
                           [&](const std::string& folder) { return IsAtOrBelow(destination, folder); });
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
    for (std::size_t index = 0; index < collaborators_.settings.items.size(); ++index) {
        if (collaborators_.cancel.load() != 0 || !DevicePresent()) break;
        if (!SynchronizeItem(index)) return false;
    }
    return true;
}

SyncOutcome SyncRun::outcome() const
{
    if (collaborators_.cancel.load() != 0) return SyncOutcome::Cancelled;
    if (!DevicePresent()) return SyncOutcome::DeviceLost;
    if (diskFull_) return SyncOutcome::DestinationFull;
    return SyncOutcome::Completed;
}

bool SyncRun::SynchronizeItem(std::size_t index)
{
    SyncSettings& settings = collaborators_.settings;
    collaborators_.view.Notice(SyncNotice::AcquiringInfo,
                               {static_cast<int32_t>(index + 1), static_cast<int32_t>(settings.items.size()), {}});
    if (!ValidateSyncItem(settings, index)) return true;
    SyncItem& paths = settings.items[index];
    const bool fromDevice = settings.option == SyncOption::DeviceToPc;
    Item item{.paths = paths,
              .sourceRoot = *SourceRoot(settings, index),
              .destinationRoot = *DestinationRoot(settings, index),
              .sourceMap = fromDevice ? paths.deviceFiles : paths.pcFiles,
              .destinationMap = fromDevice ? paths.pcFiles : paths.deviceFiles,
              .pending = {},
              .guardedFolders = {},
              .unlistedDestinations = {}};
    // A root the code page cannot show would be found by a lookup that may take another folder.
    for (const std::string* root : {&item.sourceRoot, &item.destinationRoot}) {
        if (!PathTheRunCanHold(*root)) {
            problems_.unholdableNames.push_back(*root);
            return true;
        }
    }
    // A file is only kept in step with a file, a folder with a folder; only a hand-edited profile
    // holds another pair. A missing destination is made of the source's type.
    const ItemPathTypes types = TypesOfItemPaths(paths.pcPath, paths.devicePath);
    if (!types.Match()) return true;
    item.sourceIsFile = item.destinationIsFile = types.pcIsFile;
    if (!PrepareDestination(item)) return false;

    ScanBothSides(item);
    if (collaborators_.cancel.load() == 0 && DevicePresent()) {
        FirstPass(item);
        const bool secondPass = settings.option == SyncOption::SyncBoth || settings.fileCleanup;
        if (!Stopping() && !diskFull_ && secondPass) SecondPass(item);
    }
    MergeIntoStateMap(paths);
    return true;
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
            collaborators_.view.owner(), DestinationErrorText(destinationRoot, platform::ErrorMessage(error)),
            kDestinationErrorTitle, kMbOk | kMbIconExclamation);
        collaborators_.view.Close();
        return false;
    }
    CarryAttributes(destinationRoot, files.GetAttributes(item.sourceRoot));
    return true;
}

void SyncRun::ScanBothSides(Item& item)
{
    SyncSettings& settings = collaborators_.settings;
    // Without the records of an earlier run, every file counts as changed.
    const bool markNew = settings.stateMap.empty();
    SyncTreeScan scan({collaborators_.files, settings.stateMap, collaborators_.cancel,
                       [this] { return DevicePresentLately(); }, collaborators_.userInterface});
    const bool fromDevice = settings.option == SyncOption::DeviceToPc;
    // The roots are of one type (SynchronizeItem).
    SyncScanResult pc = scan.Scan(item.paths.pcPath, item.sourceIsFile, item.paths.pcFiles, markNew);
    SyncScanResult device = scan.Scan(item.paths.devicePath, item.sourceIsFile, item.paths.deviceFiles, markNew);
    const SyncScanResult& source = fromDevice ? device : pc;
    const SyncScanResult& destination = fromDevice ? pc : device;
    for (const std::vector<std::string>* unknown : {&source.unreadableFolders, &source.folderLinks}) {
        for (const std::string& folder : *unknown) {
            item.guardedFolders.push_back(item.sourceIsFile ? item.destinationRoot
                                                            : CounterpartOf(folder, item.sourceRoot,
                                                                            item.destinationRoot, false));
        }
    }
    for (const SyncScanResult* side : {&pc, &device}) {
        problems_.unreadableFolders.insert(problems_.unreadableFolders.end(), side->unreadableFolders.begin(),
                                           side->unreadableFolders.end());
        problems_.unholdableNames.insert(problems_.unholdableNames.end(), side->unholdableNames.begin(),
                                         side->unholdableNames.end());
    }
    for (const std::vector<std::string>* unknown : {&destination.unreadableFolders, &destination.folderLinks}) {
        item.unlistedDestinations.insert(item.unlistedDestinations.end(), unknown->begin(), unknown->end());
    }
    item.pending = item.destinationMap;
}

void SyncRun::FirstPass(Item& item)
{
    const std::vector<KeyedRecord> sources = SortedRecords(item.sourceMap);
    const auto total = static_cast<int32_t>(sources.size());
    for (int32_t i = 0; i < total; ++i) {
        if (collaborators_.cancel.load() != 0) return;
        const SyncFileRecord& source = sources[static_cast<std::size_t>(i)].record;
        const std::string destination = item.DestinationOf(source);
        collaborators_.view.Notice(SyncNotice::SyncingDevice, {i + 1, total, destination});
        // A file that went away since the scan fails its copy and is passed by.
        const Step step = source.isFolder ? SyncFolder(item, source, destination) : SyncFile(item, source, destination);
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
        collaborators_.view.Performed({SyncAction::Kind::Copy, source.path, destination});
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
        break;
    case Decision::CopyBack:
        std::swap(copy.from, copy.to);
        if (IsReadOnly(sourceAttributes) && ClearReadOnly(source.path, sourceAttributes) == Step::Stop) {
            return Step::Stop;
        }
        break;
    }
    return Copy(item, copy, decision == Decision::CopyBack);
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
    collaborators_.view.Performed({SyncAction::Kind::Conflict, source.path, destination.path});
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

// Copies a file; back is a copy from the destination side to the source side. The target's record
// in its side's map takes the copy's time and size. Stop when the copy failed for a full disk or a
// lost device.
SyncRun::Step SyncRun::Copy(Item& item, const SyncCopy& copy, bool back)
{
    std::optional<SyncFileStatus> status;
    if (!collaborators_.files.CopyFile(copy, status)) {
        if (platform::GetLastError() == platform::kErrorDiskFull) diskFull_ = true;
        return diskFull_ || !DevicePresent() ? Step::Stop : Step::Next;
    }
    if (status) {
        SyncRecordMap& targetMap = back ? item.sourceMap : item.destinationMap;
        SyncFileRecord* record = targetMap.Find(copy.to);
        if (!record) record = &targetMap.Put({.path = copy.to});
        record->modTime = status->modTime;
        record->size = status->size;
    }
    ++(back ? tally_.copiedBack : tally_.copied);
    collaborators_.view.Performed({back ? SyncAction::Kind::CopyBack : SyncAction::Kind::Copy, copy.from, copy.to});
    return Step::Next;
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
        if (!collaborators_.files.Exists(record.path) || item.IsGuarded(record.path)) continue;
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
        return Copy(item, copy, true);
    }
    if (!files.CreateDirectory(target)) return Step::Next;
    ++tally_.copiedBack;
    collaborators_.view.Performed({SyncAction::Kind::CopyBack, unmatched.path, target});
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
        if (!item.pending.Contains(path) || item.IsGuarded(path)) continue;
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
    collaborators_.view.Performed({SyncAction::Kind::Delete, path, {}});
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
