#include "trayhost/syncui/syncoptionsrules.h"

#include "platform/codepage.h"
#include "platform/paths.h"
#include "trayhost/sync/synctexts.h"
#include "trayhost/syncui/syncuitexts.h"

#include <algorithm>

namespace trayhost {

std::vector<DeviceBoxEntry> DeviceBoxEntries(const DeviceTable& devices)
{
    std::vector<DeviceBoxEntry> entries;
    for (int32_t index = 0; index < devices.count(); ++index) {
        const DeviceTable::Entry& device = devices.entry(index);
        entries.push_back({DeviceEntryText(device.model, device.driveLetter), index});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const DeviceBoxEntry& a, const DeviceBoxEntry& b) {
        return platform::CompareNoCase(a.text, b.text) < 0;
    });
    return entries;
}

std::optional<std::size_t> ChosenDeviceEntry(const std::vector<DeviceBoxEntry>& entries, const DeviceTable& devices,
                                             char deviceLetter)
{
    for (std::size_t position = 0; position < entries.size(); ++position) {
        if (devices.entry(entries[position].tableIndex).driveLetter == deviceLetter) return position;
    }
    if (devices.count() == 1 && entries.size() == 1) return 0;
    return std::nullopt;
}

SyncOption OptionOfButtons(bool syncBoth, bool pcToDevice, bool deviceToPc)
{
    if (syncBoth) return SyncOption::SyncBoth;
    if (pcToDevice) return SyncOption::PcToDevice;
    if (deviceToPc) return SyncOption::DeviceToPc;
    return SyncOption::Invalid;
}

CleanupBox CleanupBoxFor(SyncOption option)
{
    switch (option) {
    case SyncOption::SyncBoth: return {false, false, kSyncCleanupCaption};
    case SyncOption::PcToDevice:
    case SyncOption::DeviceToPc: return {true, true, FileCleanupLabel(option)};
    case SyncOption::Invalid: break;
    }
    return {true, true, kSyncCleanupCaption};
}

ItemButtons ItemButtonsFor(int32_t deviceCount, int rowCount, bool rowSelected)
{
    const bool rowChosen = rowCount > 0 && rowSelected;
    return {deviceCount > 0, rowChosen, rowChosen};
}

PathEditorExchange MakePathEditorExchange(EditKind kind, const DeviceTable::Entry* device, SyncOption option,
                                          int32_t itemNumber, const SyncPathPair& paths)
{
    PathEditorExchange exchange;
    if (device) {
        exchange.deviceLetter = device->driveLetter;
        exchange.deviceLabel = DeviceEntryText(device->model, device->driveLetter);
    } else if (kind == EditKind::Edit) {
        exchange.deviceLabel = kNoDevicePresent;
    }
    exchange.option = option;
    exchange.itemNumber = itemNumber;
    exchange.pcPath = paths.pcPath.substr(0, platform::kMaxPath);
    exchange.devicePath = paths.devicePath.substr(0, platform::kMaxPath);
    return exchange;
}

void CollectSyncSettings(const SyncOptionsChoice& choice, SyncSettings& settings)
{
    settings.deviceLetter = choice.deviceLetter;
    settings.option = choice.option;
    ClearSyncItems(settings);
    for (const SyncPathPair& row : choice.rows) {
        SyncItem& item = settings.items.emplace_back();
        item.pcPath = row.pcPath.substr(0, platform::kMaxPath);
        item.devicePath = row.devicePath.substr(0, platform::kMaxPath);
    }
    if (choice.option != SyncOption::SyncBoth) settings.fileCleanup = choice.cleanupChecked;
    settings.profileAfterSync = choice.profileAfterSync;
}

}  // namespace trayhost
