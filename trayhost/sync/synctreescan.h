#pragma once

#include "trayhost/sync/syncfilesystem.h"
#include "trayhost/sync/syncrecordmap.h"
#include "trayhost/ui/userinterface.h"

#include <atomic>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace trayhost {

// An entry a tree scan leaves out, with all it contains, and why.
struct SyncLeftOut {
    std::string path;
    std::string reason;
};

// What a tree scan found besides its records.
struct SyncScanResult {
    bool completed = true;  // false: stopped by a cancel or a lost device
    // Folders that exist but could not be listed: they are not empty, only unknown.
    std::vector<std::string> unreadableFolders;
    // Names the run cannot hold or that FAT does not allow, and names that differ from another of
    // their folder only in letter case (every one of them).
    std::vector<SyncLeftOut> leftOut;
    // Symbolic links to folders, left out with all they lead to.
    std::vector<std::string> folderLinks;
    // Files that copies killed part way left behind (platform/copytemporaries.h). Every name of the
    // copies' temporary pattern is left out, whether its copy still runs or not.
    std::vector<std::string> leftoverTemporaries;
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

    // The names of the side the scan walks.
    enum class Names {
        Kept,       // stay where they are (the device's, or the PC's as the destination of the device's)
        GoToFat,    // are copied to the device: those FAT does not allow are left out
    };

    explicit SyncTreeScan(Collaborators collaborators) : collaborators_(std::move(collaborators)) {}

    // rootIsFile: the root names a file (TypesOfItemPaths), found by its name in its folder. A scan
    // that ends by an unexpected exception is told as the run's exception message and counts as
    // completed, with its root unreadable so that nothing is deleted on the strength of it.
    SyncScanResult Scan(const std::string& root, bool rootIsFile, SyncRecordMap& map, bool markNew, Names names);

private:
    bool ScanListing(const std::string& pattern, const std::string& folder, const std::string& onlyName);
    bool ScanFolder(const std::string& folder);
    // Leaves the entry out when the run must; true when it did.
    bool LeftOut(const std::string& path, const platform::FolderEntry& entry);
    // Stores the record unless another name of its folder differs from it only in letter case; then
    // both are left out (and every later one). False when it was left out.
    bool Claim(SyncFileRecord record, const std::string& name);
    void AddFile(const std::string& path, const platform::FolderEntry& entry);

    Collaborators collaborators_;
    SyncRecordMap* map_ = nullptr;
    bool markNew_ = false;
    Names names_ = Names::Kept;
    SyncScanResult result_;
    // Keys of names left out for letter case, and the first such name of each.
    std::unordered_map<std::string, std::string> casePairs_;
};

}  // namespace trayhost
