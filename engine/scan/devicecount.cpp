#include "engine/scan/devicecount.h"

#include "engine/api/cancelflag.h"
#include "engine/scan/devicescanner.h"

#include "platform/errors.h"
#include "platform/files.h"

#include <new>
#include <optional>
#include <system_error>
#include <thread>

namespace engine {

DeviceCount::DeviceCount(const std::string& folder) : pending_{folder}, result_(kScanDone)
{
}

int32_t DeviceCount::Run(int* count)
{
    if (CancelRequested()) return kScanCancelled;
    {
        std::vector<std::jthread> helpers;
        try {
            for (std::size_t i = 0; i < kHelpers; ++i) helpers.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // Fewer helpers, or none: the count is the same.
        }
        Work();
    }
    if (result_ == kScanDone) *count = static_cast<int>(total_);
    return result_;
}

void DeviceCount::Work()
{
    std::string folder;
    while (TakeFolder(folder)) {
        int32_t result = kScanFileSystemError;
        try {
            result = CountFolder(folder);
        } catch (const platform::FileError&) {
        } catch (const std::bad_alloc&) {
        }
        Finish(result);
    }
}

bool DeviceCount::TakeFolder(std::string& folder)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_.empty() || listing_ == 0 || result_ != kScanDone; });
    if (pending_.empty() || result_ != kScanDone) return false;
    folder = std::move(pending_.back());
    pending_.pop_back();
    ++listing_;
    return true;
}

int32_t DeviceCount::CountFolder(const std::string& folder)
{
    if (CancelRequested()) return kScanCancelled;
    const std::optional<platform::FolderCount> listing = platform::CountFolder(folder);
    if (!listing) return kScanNothingFound;
    if (CancelRequested()) return kScanCancelled;
    std::lock_guard lock(mutex_);
    total_ += listing->entries;
    for (const std::string& name : listing->foldersToWalk) pending_.push_back(folder + "\\" + name);
    return kScanDone;
}

void DeviceCount::Finish(int32_t result)
{
    {
        std::lock_guard lock(mutex_);
        --listing_;
        if (result_ == kScanDone) result_ = result;
    }
    changed_.notify_all();
}

}  // namespace engine
