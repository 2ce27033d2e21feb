#pragma once

#include "trayhost/sync/syncfilesystem.h"
#include "trayhost/sync/syncrecordmap.h"
#include "trayhost/ui/userinterface.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace trayhost {

// What a tree scan found besides its records.
struct SyncScanResult {
    bool completed = true;  // false: stopped by a cancel or a lost device
    // Folders that exist but could not be listed: they are not empty, only unknown.
    std::vector<std::string> unreadableFolders;
    // Entries whose names the run cannot hold (NameTheRunCanHold), left out with all they contain.
    std::vector<std::string> unholdableNames;
    // Symbolic links to folders, left out with all they lead to.
    std::vector<std::string> folderLinks;
};

// Whether a name as the listing gives it (system code page) can be written back to the same entry.
// A character the code page lacks comes out as '?', and "日本.mp3" and "日曜.mp3" both read
// "??.mp3": a write or a delete of that name could reach the other. A '\' in a Linux name would
// read as a separator. Names with either are left alone.
bool NameTheRunCanHold(const std::string& name);
// The same for a whole path, whose backslashes are its separators.
bool PathTheRunCanHold(const std::string& path);

// The walk of one side of a sync item: every file and folder below a root, or the one file a file
// root names, into a record map keyed by lower-cased path. A file's record starts from its record of
// the last run when there is one and is marked changed when its time or size differs; without one
// it is marked changed when markNew is set (no state of an earlier run to compare with). Records
// keep the attributes the listing gave, so that the passes need not ask again. The root itself gets
// no record. Links to folders are not followed (they may lead back up the tree or off
// the device); a link to a file is taken for the file.
class SyncTreeScan {
public:
    struct Collaborators {
        SyncFileSystem& files;
        const SyncRecordMap& stateMap;  // the last run's records
        const std::atomic<int32_t>& cancel;   // looked at before every entry
        std::function<bool()> devicePresent;  // asked before every folder is listed
        UserInterface& userInterface;         // tells of an unexpected exception
    };

    explicit SyncTreeScan(Collaborators collaborators) : collaborators_(std::move(collaborators)) {}

    // rootIsFile: the root names a file (TypesOfItemPaths), found by its name in its folder. A scan
    // that ends by an unexpected exception is told as the run's exception message and counts as
    // completed, with its root unreadable so that nothing is deleted on the strength of it.
    SyncScanResult Scan(const std::string& root, bool rootIsFile, SyncRecordMap& map, bool markNew);

private:
    bool ScanListing(const std::string& pattern, const std::string& folder, const std::string& onlyName);
    bool ScanFolder(const std::string& folder);
    void AddFile(const std::string& path, const platform::FolderEntry& entry);

    Collaborators collaborators_;
    SyncRecordMap* map_ = nullptr;
    bool markNew_ = false;
    SyncScanResult result_;
};

}  // namespace trayhost
