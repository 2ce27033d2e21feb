#include "trayhost/sync/synctreescan.h"

#include "platform/codepage.h"
#include "platform/copytemporaries.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "trayhost/sync/syncfilefacts.h"
#include "trayhost/sync/syncpaths.h"
#include "trayhost/sync/syncruntexts.h"

#include <exception>
#include <optional>

namespace trayhost {

namespace {

constexpr char kAllEntries[] = "*.*";

bool IsDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

// A listing that failed for another reason than finding nothing leaves its folder unknown.
bool ListingFoundNothing(uint32_t error)
{
    return error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound ||
           error == platform::kErrorNoMoreFiles;
}

// Why the run leaves an entry of the name out; none when it keeps it.
std::optional<std::string> ReasonToLeaveOut(const platform::FolderEntry& entry, SyncTreeScan::Names names)
{
    if (entry.NameLostCharacters()) return kCodePageLacksReason;
    const bool goToFat = names == SyncTreeScan::Names::GoToFat;
    const std::optional<char> forbidden = goToFat ? CharacterFatForbids(entry.name) : CharacterNoPathHolds(entry.name);
    if (forbidden) return ForbiddenCharacterReason(*forbidden);
    if (goToFat && EndsAsFatDrops(entry.name)) return kEndsAsFatDropsReason;
    return std::nullopt;
}

}  // namespace

bool NameTheRunCanHold(const std::string& name)
{
    return !CharacterNoPathHolds(name);
}

bool PathTheRunCanHold(const std::string& path)
{
    return path.find('?') == std::string::npos;
}

SyncScanResult SyncTreeScan::Scan(const std::string& root, bool rootIsFile, SyncRecordMap& map, bool markNew,
                                  Names names)
{
    map_ = &map;
    markNew_ = markNew;
    names_ = names;
    result_ = {};
    casePairs_.clear();
    try {
        if (rootIsFile) {
            // The listing of a file root finds the one file; the name is matched again as a name, so
            // that no wildcard character in it lets another file in.
            const std::size_t nameOffset = NameOffset(root);
            const std::string folder = nameOffset > 0 ? root.substr(0, nameOffset - 1) : std::string();
            result_.completed = ScanListing(root, folder, root.substr(nameOffset));
        } else {
            result_.completed = ScanFolder(root);
        }
    } catch (const std::exception&) {
        collaborators_.userInterface.MessageBox(nullptr, kSyncExceptionText, kSyncExceptionTitle,
                                                kMbOk | kMbIconExclamation);
        result_.completed = true;
        result_.unreadableFolders.push_back(root);
    }
    return std::move(result_);
}

bool SyncTreeScan::ScanFolder(const std::string& folder)
{
    return ScanListing(platform::JoinPath(folder, kAllEntries), folder, {});
}

// Returns false when the scan must stop.
bool SyncTreeScan::ScanListing(const std::string& pattern, const std::string& folder, const std::string& onlyName)
{
    // Once a folder, not once an entry: the test costs as much as a listing's every entry does.
    if (!collaborators_.devicePresent()) return false;
    const std::optional<std::vector<platform::FolderEntry>> listing = collaborators_.files.FindFiles(pattern);
    if (!listing) {
        if (!ListingFoundNothing(platform::GetLastError())) result_.unreadableFolders.push_back(folder);
        return true;
    }
    for (const platform::FolderEntry& entry : *listing) {
        if (collaborators_.cancel.load() != 0) return false;
        if (IsDotEntry(entry.name)) continue;
        if (!onlyName.empty() && !platform::EqualsNoCase(entry.name, onlyName)) continue;
        const std::string path = platform::JoinPath(folder, entry.name);
        if (LeftOut(path, entry)) continue;
        if (!entry.IsFolder()) {
            AddFile(path, entry);
            continue;
        }
        if (entry.IsLink()) {
            result_.folderLinks.push_back(path);
            continue;
        }
        if (!Claim({.path = path, .isFolder = true, .attributes = entry.attributes}, entry.name)) continue;
        if (!ScanFolder(path)) return false;
    }
    return true;
}

bool SyncTreeScan::LeftOut(const std::string& path, const platform::FolderEntry& entry)
{
    if (platform::CopyTemporaryProcess(entry.name) != 0) {
        if (!entry.IsFolder() && platform::IsLeftoverCopyTemporary(entry.name)) {
            result_.leftoverTemporaries.push_back(path);
        }
        return true;
    }
    std::optional<std::string> reason = ReasonToLeaveOut(entry, names_);
    if (!reason && !casePairs_.empty()) {
        const auto pair = casePairs_.find(SyncRecordMap::KeyOf(path));
        if (pair != casePairs_.end()) reason = CasePairReason(pair->second);
    }
    if (!reason) return false;
    result_.leftOut.push_back({path, std::move(*reason)});
    return true;
}

bool SyncTreeScan::Claim(SyncFileRecord record, const std::string& name)
{
    const std::string path = record.path;
    if (map_->Insert(std::move(record))) return true;
    // The two names lie in one folder, so the first one's name starts where this one's does.
    const std::string first = map_->Find(path)->path;
    const std::string firstName = first.substr(path.size() - name.size());
    map_->RemoveWithin(first);
    result_.leftOut.push_back({first, CasePairReason(name)});
    result_.leftOut.push_back({path, CasePairReason(firstName)});
    casePairs_.emplace(SyncRecordMap::KeyOf(path), firstName);
    return false;
}

void SyncTreeScan::AddFile(const std::string& path, const platform::FolderEntry& entry)
{
    const auto modTime = static_cast<int32_t>(entry.lastWriteTime);
    const auto size = static_cast<uint32_t>(entry.size);
    const SyncFileRecord* previous = collaborators_.stateMap.Find(path);
    SyncFileRecord record;
    if (previous && !previous->isFolder) {
        // The path as found now: a name whose letter case changed since keeps its new case.
        record = *previous;
        record.path = path;
        if (!UnchangedSinceRecord(modTime, size, record.modTime, record.size)) record.changed = true;
        record.modTime = modTime;
        record.size = size;
    } else {
        record = {.path = path, .modTime = modTime, .size = size, .changed = markNew_};
    }
    record.isFolder = false;
    record.sizeAbove32Bits = static_cast<uint32_t>(entry.size >> 32);
    record.attributes = entry.attributes;
    Claim(std::move(record), entry.name);
}

}  // namespace trayhost
