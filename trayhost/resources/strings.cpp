#include "trayhost/resources/strings.h"

namespace trayhost {

std::string AboutText(const std::string& version)
{
    return "Kova MP3/Personal Jukebox Application, version " + version +
           "\nCompanion of the Vantor Kova MP3 Jukebox and the Corvane Kova Personal Jukebox."
           "\nCopyright (C) 2025 the KovaHDD developers.";
}

std::string ProfileDeviceText(std::string_view deviceName, char driveLetter)
{
    return "Device:         " + std::string(deviceName) + " \nDrive Letter:  " + driveLetter + ":";
}

std::string NotAvailableText(const std::string& commandMenuText)
{
    std::string name;
    for (const char c : commandMenuText) {
        if (c != '&') name += c;
    }
    while (!name.empty() && name.back() == '.') name.pop_back();
    return "\"" + name + "\" is not available yet in this version.";
}

}  // namespace trayhost
