#pragma once

#include "platform/files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trayhost {

// A file's last-write time and size as a sync record keeps them.
struct SyncFileStatus {
    int32_t modTime = 0;  // whole seconds since 1970 UTC
    uint32_t size = 0;    // low 32 bits
};

// A copy that replaces its target, content, time and attributes.
struct SyncCopy {
    std::string from;
    std::string to;
    std::optional<uint32_t> attributes;  // the DOS attributes the copy takes; the source's when empty
    bool targetIsNew = false;            // the run's scan found no entry of its name in any letter case
};

// What became of a copy once it was finished.
struct SyncCopyOutcome {
    uint32_t error = 0;  // 0, or the Windows code of the failure
    // The copy's status as its file system keeps it; empty when it cannot be read.
    std::optional<SyncFileStatus> status;
};

// Every file-system call a sync run makes, on Windows-style paths. The run is written against this
// interface so that a dry run can go through every step and change nothing: DiskSyncFileSystem
// does the work, DryRunSyncFileSystem only pretends to write. Calls that return false or an empty
// value set the platform's last error (platform/errors.h).
class SyncFileSystem {
public:
    virtual ~SyncFileSystem() = default;

    // Reading.
    // The entries a pattern such as "E:\Music\*.*" matches, as platform::FindFiles lists them
    // (attributes, size and time of each, links marked); empty optional when none
    // (kErrorFileNotFound) or when the folder cannot be listed (another code).
    virtual std::optional<std::vector<platform::FolderEntry>> FindFiles(const std::string& pattern) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // platform::kInvalidAttributes when the path does not exist.
    virtual uint32_t GetAttributes(const std::string& path) = 0;
    // The status of a file; empty optional when it cannot be read.
    virtual std::optional<SyncFileStatus> StatusOf(const std::string& path) = 0;

    // Writing.
    virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
    // One level; fails with kErrorAlreadyExists when the folder is there.
    virtual bool CreateDirectory(const std::string& path) = 0;
    // Every missing level of the folder of a path that names a file; the code of a failure in error.
    virtual bool CreateFolderPath(const std::string& path, uint32_t& error) = 0;
    // Copies go in two steps, so that one flush makes a batch of them durable before any takes its
    // target's place (platform::CopyBatch): a target is never left half written, nor named before
    // its content is on its disk. StartCopy writes the copy beside its target; false (and nothing
    // left behind) when it cannot. CopiesDue tells when the copies started should be finished;
    // FinishCopies puts each in its target's place and gives their outcomes in the order started.
    virtual bool StartCopy(const SyncCopy& copy) = 0;
    virtual bool CopiesDue() const = 0;
    virtual std::vector<SyncCopyOutcome> FinishCopies() = 0;
    virtual bool DeleteFile(const std::string& path) = 0;
    // Only an empty folder.
    virtual bool RemoveDirectory(const std::string& path) = 0;
    // Writes back what the file system holding the path keeps in memory (platform::FlushFileSystem).
    virtual bool FlushFileSystem(const std::string& path) = 0;
};

}  // namespace trayhost
