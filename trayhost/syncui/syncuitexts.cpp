#include "trayhost/syncui/syncuitexts.h"

#include "trayhost/detection/devicemodelnames.h"

namespace trayhost {

std::string DeviceEntryText(uint8_t model, char driveLetter)
{
    const std::string_view name = model == kModelHd ? kModelNameHd : kModelNamePj;
    return std::string(name) + " (" + driveLetter + ":)";
}

std::string WrongDeviceDriveText(char deviceLetter)
{
    return std::string("Invalid Device path specified.  The path must be on the same drive as the selected Kova "
                       "Jukebox device (") +
           deviceLetter + ").";
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
