#include "trayhost/sync/syncsettings.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "trayhost/sync/syncpaths.h"

namespace trayhost {

namespace {

bool Exists(const std::string& path)
{
    return platform::GetFileAttributes(path) != platform::kInvalidAttributes;
}

}  // namespace

void ClearSyncItems(SyncSettings& settings)
{
    settings.items.clear();
}

std::optional<std::string> SourceRoot(const SyncSettings& settings, std::size_t index)
{
    if (index >= settings.items.size()) return std::nullopt;
    const SyncItem& item = settings.items[index];
    return settings.option == SyncOption::DeviceToPc ? item.devicePath : item.pcPath;
}

std::optional<std::string> DestinationRoot(const SyncSettings& settings, std::size_t index)
{
    if (index >= settings.items.size()) return std::nullopt;
    const SyncItem& item = settings.items[index];
    return settings.option == SyncOption::DeviceToPc ? item.pcPath : item.devicePath;
}

bool ValidateSyncItem(SyncSettings& settings, std::size_t index)
{
    if (index >= settings.items.size()) return false;
    SyncItem& item = settings.items[index];
    TrimSpaces(item.pcPath);
    TrimSpaces(item.devicePath);
    if (item.pcPath.empty() || item.devicePath.empty()) return false;
    switch (settings.option) {
    case SyncOption::PcToDevice: return Exists(item.pcPath);
    case SyncOption::DeviceToPc: return Exists(item.devicePath);
    case SyncOption::SyncBoth: break;
    case SyncOption::Invalid: return false;
    }
    // Both ways, a file is only ever kept in step with a file of the same name.
    const ItemPathTypes types = TypesOfItemPaths(item.pcPath, item.devicePath);
    if (!types.pcIsFile || !types.deviceIsFile) return true;
    return platform::EqualsNoCase(std::string_view(item.pcPath).substr(NameOffset(item.pcPath)),
                                  std::string_view(item.devicePath).substr(NameOffset(item.devicePath)));
}

bool IsSyncDevicePresent(const SyncSettings& settings, ProfilerEngine& engine)
{
    if (settings.deviceLetter == 0) return false;
    return engine.IsDevicePresent(std::string(1, settings.deviceLetter) + ":");
}

}  // namespace trayhost
