#include "trayhost/syncui/syncuitexts.h"

#include "trayhost/detection/devicemodelnames.h"

namespace trayhost {

std::string DeviceEntryText(uint8_t model, char driveLetter)
{
    const std::string_view name = model == kModelHd ? kModelNameHd : kModelNamePj;
    return std::string(name) + " (" + driveLetter + ":)";
}

std::string ItemConflictTitle(int32_t itemNumber)
{
    return "Item " + std::to_string(itemNumber) + ":  Invalid Path";
}

std::string PcPathConflictText(int32_t itemNumber)
{
    return "The PC Path specified for Item " + std::to_string(itemNumber) +
           " conflicts with another path specified for a synchronization and is invalid.  Please specify another PC "
           "Path.";
}

std::string DevicePathConflictText(int32_t itemNumber)
{
    return "The Device Path specified for Item " + std::to_string(itemNumber) +
           " conflicts with another path specified for synchronization and is invalid.  Please specify another path "
           "on the Device.";
}

std::string NewFolderName(int32_t number)
{
    return "Folder " + std::to_string(number);
}

std::string FolderExistsText(const std::string& name)
{
    return "The specified folder '" + name + "' already exists.  Please specify a new folder.";
}

}  // namespace trayhost
