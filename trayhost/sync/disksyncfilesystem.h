#pragma once

#include "platform/copybatch.h"
#include "trayhost/sync/syncfilesystem.h"

#include <atomic>

namespace trayhost {

// The sync run's calls carried out on the disks, through the platform library. A copy stops early,
// leaving its target as it was, once the run's cancel flag is set.
class DiskSyncFileSystem : public SyncFileSystem {
public:
    explicit DiskSyncFileSystem(const std::atomic<int32_t>& cancel) : cancel_(cancel) {}

    std::optional<std::vector<platform::FolderEntry>> FindFiles(const std::string& pattern) override;
    bool Exists(const std::string& path) override;
    uint32_t GetAttributes(const std::string& path) override;
    std::optional<SyncFileStatus> StatusOf(const std::string& path) override;

    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    bool CreateDirectory(const std::string& path) override;
    bool CreateFolderPath(const std::string& path, uint32_t& error) override;
    bool StartCopy(const SyncCopy& copy) override;
    bool CopiesDue() const override { return batch_.Full(); }
    std::vector<SyncCopyOutcome> FinishCopies() override;
    bool DeleteFile(const std::string& path) override;
    bool RemoveDirectory(const std::string& path) override;
    bool FlushFileSystem(const std::string& path) override;

private:
    const std::atomic<int32_t>& cancel_;
    platform::CopyBatch batch_;
};

}  // namespace trayhost
