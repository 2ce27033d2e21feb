#include "trayhost/sync/synctreescan.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "trayhost/sync/syncfilefacts.h"
#include "trayhost/sync/syncpaths.h"
#include "trayhost/sync/syncruntexts.h"

#include <exception>

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

// Whether the text holds one of the characters, each a character of its own (not the second byte
// of a double-byte character).
bool HoldsAnyOf(const std::string& text, std::string_view characters)
{
    const platform::CodePage& page = platform::CodePage::System();
    for (std::size_t i = 0; i < text.size(); i += page.CharacterSize(text, i)) {
        if (page.CharacterSize(text, i) == 1 && characters.find(text[i]) != std::string_view::npos) return true;
    }
    return false;
}

}  // namespace

bool NameTheRunCanHold(const std::string& name)
{
    return !HoldsAnyOf(name, "?\\");
}

bool PathTheRunCanHold(const std::string& path)
{
    return !HoldsAnyOf(path, "?");
}

SyncScanResult SyncTreeScan::Scan(const std::string& root, bool rootIsFile, SyncRecordMap& map, bool markNew)
{
    map_ = &map;
    markNew_ = markNew;
    result_ = {};
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
        if (!NameTheRunCanHold(entry.name)) {
            result_.unholdableNames.push_back(path);
            continue;
        }
        if (!entry.IsFolder()) {
            AddFile(path, entry);
            continue;
        }
        if (entry.IsLink()) {
            result_.folderLinks.push_back(path);
            continue;
        }
        if (!map_->Contains(path)) map_->Put({.path = path, .isFolder = true, .attributes = entry.attributes});
        if (!ScanFolder(path)) return false;
    }
    return true;
}

void SyncTreeScan::AddFile(const std::string& path, const platform::FolderEntry& entry)
{
    const auto modTime = static_cast<int32_t>(entry.lastWriteTime);
    const auto size = static_cast<uint32_t>(entry.size);
    const SyncFileRecord* previous = collaborators_.stateMap.Find(path);
    SyncFileRecord record;
    if (previous && !previous->isFolder) {
        record = *previous;
        if (!UnchangedSinceRecord(modTime, size, record.modTime, record.size)) record.changed = true;
        record.modTime = modTime;
        record.size = size;
    } else {
        record = {.path = path, .modTime = modTime, .size = size, .changed = markNew_};
    }
    record.isFolder = false;
    record.attributes = entry.attributes;
    map_->Put(std::move(record));
}

}  // namespace trayhost
