#include "trayhost/sync/syncrunlock.h"

#include "platform/errors.h"
#include "platform/userfolders.h"

#include <string>

namespace trayhost {

namespace {

constexpr char kLockFileName[] = "/KovaSync.lock";

}  // namespace

std::optional<SyncRunLock> SyncRunLock::Take()
{
    SyncRunLock taken;
    const std::string folder = platform::UserStateFolder();
    if (folder.empty() || !platform::CreateUserFolder(folder)) return taken;
    taken.lock_ = platform::ExclusiveFileLock::TryTake(folder + kLockFileName);
    if (!taken.lock_ && platform::GetLastError() == platform::kErrorSharingViolation) return std::nullopt;
    return taken;
}

}  // namespace trayhost
