#include "trayhost/sync/synctexts.h"

namespace trayhost {

std::string_view SyncOptionLabel(SyncOption option)
{
    switch (option) {
    case SyncOption::SyncBoth: return "Synchronize PC and Device";
    case SyncOption::PcToDevice: return "PC overwrites Device";
    case SyncOption::DeviceToPc: return "Device overwrites PC";
    case SyncOption::Invalid: break;
    }
    return {};
}

std::string_view FileCleanupLabel(SyncOption option)
{
    switch (option) {
    case SyncOption::PcToDevice: return "Delete Files/Folders on Device that do not exist on PC";
    case SyncOption::DeviceToPc: return "Delete Files/Folders on PC that do not exist on Device";
    case SyncOption::SyncBoth:
    case SyncOption::Invalid: break;
    }
    return {};
}

}  // namespace trayhost
