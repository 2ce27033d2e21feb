#pragma once

#include "trayhost/devicetable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trayhost {

// One entry of the tray menu as it is to be shown; a separator has id 0 and no text.
struct TrayMenuItem {
    uint32_t id = 0;
    std::string text;
    bool separator = false;
    bool isDefault = false;
    std::vector<TrayMenuItem> submenu;  // per-device items; empty for a plain command
};

// The tray menu for the devices in the table: the nine entries of menu 129, Profile as the default
// item, and with more than one device a submenu of drive roots ("E:\") under Profile, Update and
// Verify whose ids are the device-command base + the device's index. With one device or none the
// three are plain commands acting on the selected device.
std::vector<TrayMenuItem> BuildTrayMenu(const DeviceTable& table);

}  // namespace trayhost
