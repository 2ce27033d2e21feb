#pragma once

#include "trayhost/detection/kovadetection.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace trayhost {

// The attached devices every device command works on, as detection reported them at the last
// opening of the tray menu: drive letters in ascending order, each with its model code.
class DeviceTable {
public:
    using EnumDevicesFunction = int32_t (*)(KovaDetectionCallback callback, tagKOVAHDCONFLICTDIALOGINFO& info,
                                            int32_t userData);

    static constexpr int32_t kCapacity = 26;
    static constexpr char kUnusedLetter = static_cast<char>(0xFF);

    struct Entry {
        char driveLetter = kUnusedLetter;
        uint8_t model = kModelNone;
    };

    // enumerate is KOVAHDDDetectionEnumDevices in the program; tests pass their own.
    explicit DeviceTable(EnumDevicesFunction enumerate);

    // Empties the table and fills it by detection. modulePath is the program's own path, for the
    // Device Conflict dialog. 1 when at least one device was found, 0 otherwise; also 1, with what
    // was found so far, when detection throws. A call made while a rebuild runs (from the event loop
    // of a dialog that detection shows) changes nothing and returns 0.
    int32_t Rebuild(const std::string& modulePath);

    // True while a rebuild runs: detection may show a modal dialog whose event loop delivers another
    // tray click, and a rebuild must not start inside another.
    bool detecting() const { return detecting_; }

    int32_t count() const { return count_; }
    const Entry& entry(int32_t index) const { return entries_.at(static_cast<std::size_t>(index)); }

    // 0 after every rebuild; changed by the per-device submenu commands.
    int32_t selectedIndex() const { return selectedIndex_; }
    // False (nothing changed) for an index outside the table.
    bool Select(int32_t index);
    // The entry the next device command works on; null when that index holds no device.
    const Entry* SelectedEntry() const;
    // The index of the device at the drive letter (either case); none when no device is there.
    std::optional<int32_t> IndexOf(char driveLetter) const;

private:
    static int32_t Append(char driveLetter, uint8_t model, int32_t userData);
    void Clear();

    EnumDevicesFunction enumerate_;
    std::array<Entry, kCapacity> entries_{};
    int32_t count_ = 0;
    int32_t selectedIndex_ = 0;
    bool detecting_ = false;
};

}  // namespace trayhost
