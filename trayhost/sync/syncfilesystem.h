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
    // Replaces the target with a copy of the source, never leaving the old target half overwritten
    // (platform::CopyFileReplacing). status receives the copy's status as its file system keeps it
    // (empty when it cannot be read).
    virtual bool CopyFile(const SyncCopy& copy, std::optional<SyncFileStatus>& status) = 0;
    virtual bool DeleteFile(const std::string& path) = 0;
    // Only an empty folder.
    virtual bool RemoveDirectory(const std::string& path) = 0;
};

}  // namespace trayhost
