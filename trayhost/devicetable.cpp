#include "trayhost/devicetable.h"

#include "platform/codepage.h"
#include "trayhost/resources/ids.h"

#include <algorithm>
#include <cstring>

namespace trayhost {

namespace {

// The detection callback carries only a 32-bit user value, too small for a pointer: the table being
// rebuilt is found here. Rebuilds run on the GUI thread and never nest (the detecting flag).
DeviceTable* tableBeingRebuilt = nullptr;

}  // namespace

DeviceTable::DeviceTable(EnumDevicesFunction enumerate) : enumerate_(enumerate) {}

int32_t DeviceTable::Rebuild(const std::string& modulePath)
{
    // Detection keeps state between calls that must not overlap, and the table being filled is
    // known to the callback by this one pointer.
    if (detecting_) return 0;
    detecting_ = true;
    Clear();
    tagKOVAHDCONFLICTDIALOGINFO info{};
    const std::size_t pathLength = std::min(modulePath.size(), sizeof info.moduleFileName - 1);
    std::memcpy(info.moduleFileName, modulePath.data(), pathLength);
    info.parentWindow = nullptr;
    info.dialogTemplateId = kDialogDeviceConflict;
    info.textControlId = kControlConflictText;
    info.listControlId = kControlConflictList;

    int32_t found = 0;
    tableBeingRebuilt = this;
    try {
        found = enumerate_(&DeviceTable::Append, info, 0);
    } catch (...) {
        found = 1;
    }
    tableBeingRebuilt = nullptr;
    detecting_ = false;
    if (found == 0) return 0;
    selectedIndex_ = 0;
    return 1;
}

int32_t DeviceTable::Append(char driveLetter, uint8_t model, int32_t)
{
    DeviceTable* table = tableBeingRebuilt;
    // More devices than letters would overrun the table: they are dropped.
    if (table && table->count_ < kCapacity) {
        table->entries_[static_cast<std::size_t>(table->count_)] = {driveLetter, model};
        ++table->count_;
    }
    return 1;
}

void DeviceTable::Clear()
{
    entries_.fill(Entry{});
    count_ = 0;
    selectedIndex_ = 0;
}

bool DeviceTable::Select(int32_t index)
{
    if (index < 0 || index >= kCapacity) return false;
    selectedIndex_ = index;
    return true;
}

const DeviceTable::Entry* DeviceTable::SelectedEntry() const
{
    if (selectedIndex_ >= count_) return nullptr;
    return &entries_[static_cast<std::size_t>(selectedIndex_)];
}

std::optional<int32_t> DeviceTable::IndexOf(char driveLetter) const
{
    for (int32_t index = 0; index < count_; ++index) {
        const char& letter = entries_[static_cast<std::size_t>(index)].driveLetter;
        if (platform::EqualsNoCase({&letter, 1}, {&driveLetter, 1})) return index;
    }
    return std::nullopt;
}

}  // namespace trayhost
