#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace engine {

// Counts every folder entry below a folder, recursively, as GetNumFilesOnDevice does, several
// folders at a time: on a device just plugged in each folder listed is a wait for the disk, and a
// disk answers several requests at once faster than one after the other. The sum does not depend
// on the order the folders are listed in.
class DeviceCount {
public:
    explicit DeviceCount(const std::string& folder);

    // kScanDone with the count, or the failure of the first folder that failed: kScanNothingFound
    // (a folder cannot be listed), kScanCancelled, kScanFileSystemError.
    int32_t Run(int* count);

private:
    static constexpr std::size_t kHelpers = 3;

    // Lists folders until none is left or one failed.
    void Work();
    // The next folder to list; empty when all are listed or one failed.
    bool TakeFolder(std::string& folder);
    int32_t CountFolder(const std::string& folder);
    void Finish(int32_t result);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> pending_;  // folders still to list
    std::size_t listing_ = 0;           // folders being listed
    int64_t total_ = 0;
    int32_t result_;
};

}  // namespace engine
