#include "trayhost/traymenumodel.h"

#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"

namespace trayhost {

namespace {

TrayMenuItem CommandItem(Command command, const char* text)
{
    TrayMenuItem item;
    item.id = static_cast<uint32_t>(command);
    item.text = text;
    return item;
}

TrayMenuItem Separator()
{
    TrayMenuItem item;
    item.separator = true;
    return item;
}

std::vector<TrayMenuItem> DeviceSubmenu(const DeviceTable& table, uint32_t firstId)
{
    std::vector<TrayMenuItem> items;
    for (int32_t index = 0; index < table.count(); ++index) {
        TrayMenuItem item;
        item.id = firstId + static_cast<uint32_t>(index);
        item.text = std::string(1, table.entry(index).driveLetter) + ":\\";
        items.push_back(item);
    }
    return items;
}

}  // namespace

std::vector<TrayMenuItem> BuildTrayMenu(const DeviceTable& table)
{
    std::vector<TrayMenuItem> menu{
        CommandItem(Command::About, kMenuTextAbout),
        Separator(),
        CommandItem(Command::Profile, kMenuTextProfile),
        CommandItem(Command::Update, kMenuTextUpdate),
        CommandItem(Command::Verify, kMenuTextVerify),
        Separator(),
        CommandItem(Command::KovaSync, kMenuTextKovaSync),
        Separator(),
        CommandItem(Command::Close, kMenuTextClose),
    };
    if (table.count() > 1) {
        menu[kMenuPositionProfile].submenu = DeviceSubmenu(table, kProfileDeviceFirstId);
        menu[kMenuPositionUpdate].submenu = DeviceSubmenu(table, kUpdateDeviceFirstId);
        menu[kMenuPositionVerify].submenu = DeviceSubmenu(table, kVerifyDeviceFirstId);
    }
    menu[kMenuPositionProfile].isDefault = true;
    return menu;
}

}  // namespace trayhost
