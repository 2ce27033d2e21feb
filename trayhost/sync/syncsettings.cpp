#include "trayhost/sync/syncsettings.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "trayhost/sync/syncpaths.h"
#include "trayhost/sync/syncruntexts.h"

namespace trayhost {

namespace {

bool Exists(const std::string& path)
{
    return platform::GetFileAttributes(path) != platform::kInvalidAttributes;
}

// What the run reads from is there. Both ways the PC side is the source; a file item's PC file is
// made from the device's when only that one exists.
bool SourceExists(SyncOption option, const SyncItem& item, const ItemPathTypes& types)
{
    switch (option) {
    case SyncOption::PcToDevice: return Exists(item.pcPath);
    case SyncOption::DeviceToPc: return Exists(item.devicePath);
    case SyncOption::SyncBoth: return Exists(item.pcPath) || (types.deviceIsFile && Exists(item.devicePath));
    case SyncOption::Invalid: break;
    }
    return false;
}

bool SameName(const std::string& path, const std::string& other)
{
    return platform::EqualsNoCase(std::string_view(path).substr(NameOffset(path)),
                                  std::string_view(other).substr(NameOffset(other)));
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

std::optional<SyncProblem> ValidateSyncItem(SyncSettings& settings, std::size_t index)
{
    SyncItem& item = settings.items.at(index);
    TrimSpaces(item.pcPath);
    TrimSpaces(item.devicePath);
    const auto notRun = [](const std::string& path, std::string reason) {
        return SyncProblem{SyncProblem::Kind::ItemNotRun, path, std::move(reason)};
    };
    if (item.pcPath.empty() || item.devicePath.empty()) {
        return notRun(item.pcPath.empty() ? item.devicePath : item.pcPath,
                      MissingPathReason(index + 1, item.pcPath.empty(), item.devicePath.empty()));
    }
    if (settings.option == SyncOption::Invalid) return notRun(item.pcPath, kNoDirectionReason);
    const ItemPathTypes types = TypesOfItemPaths(item.pcPath, item.devicePath);
    if (!SourceExists(settings.option, item, types)) return notRun(*SourceRoot(settings, index), kRootMissingReason);
    if (!types.Match()) return notRun(item.pcPath, TypeMismatchReason(types.pcIsFile, item.devicePath));
    // Both ways, a file is only ever kept in step with a file of the same name.
    if (settings.option == SyncOption::SyncBoth && types.pcIsFile && !SameName(item.pcPath, item.devicePath)) {
        return notRun(item.pcPath, NameMismatchReason(item.devicePath));
    }
    return std::nullopt;
}

bool IsSyncDevicePresent(const SyncSettings& settings, ProfilerEngine& engine)
{
    if (settings.deviceLetter == 0) return false;
    return engine.IsDevicePresent(std::string(1, settings.deviceLetter) + ":");
}

}  // namespace trayhost
