#pragma once

#include "trayhost/sync/syncfilesystem.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace trayhost {

// A sync run's calls that read the disks and only pretend to write: what a run would do, with
// nothing changed. Later calls of the run see the pretended writes, so that it goes on as it would:
// a copied file exists with its source's time and size, a folder made exists, and a deleted entry is
// gone with everything below it. Attribute changes succeed and are not seen.
class DryRunSyncFileSystem : public SyncFileSystem {
public:
    // disk answers what the pretended writes did not change.
    explicit DryRunSyncFileSystem(SyncFileSystem& disk) : disk_(disk) {}

    std::optional<std::vector<platform::FolderEntry>> FindFiles(const std::string& pattern) override;
    bool Exists(const std::string& path) override;
    uint32_t GetAttributes(const std::string& path) override;
    std::optional<SyncFileStatus> StatusOf(const std::string& path) override;

    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    bool CreateDirectory(const std::string& path) override;
    bool CreateFolderPath(const std::string& path, uint32_t& error) override;
    // A pretended copy is finished at once, so that the run lists its actions in the order it
    // takes them.
    bool StartCopy(const SyncCopy& copy) override;
    bool CopiesDue() const override { return true; }
    std::vector<SyncCopyOutcome> FinishCopies() override;
    bool DeleteFile(const std::string& path) override;
    bool RemoveDirectory(const std::string& path) override;
    // Nothing was written.
    bool FlushFileSystem(const std::string&) override { return true; }

private:
    bool IsDeleted(const std::string& path) const;

    SyncFileSystem& disk_;
    std::unordered_set<std::string> madeFolders_;                 // keys of the folders made
    std::unordered_map<std::string, std::string> copiedFrom_;     // key of a file copied: its source
    std::unordered_set<std::string> deleted_;                     // keys of the entries deleted
    std::vector<SyncCopyOutcome> started_;                        // the copies not finished yet
};

}  // namespace trayhost
