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

std::string FileNotFoundTitle(const FileNotFoundQuestion& question)
{
    return question.playlistName + " - File Not Found";
}

std::string FileNotFoundText(const FileNotFoundQuestion& question)
{
    if (question.invalidCharacters) {
        return "The '" + question.playlistName + "' playlist entry '" + question.entryText +
               "' contains invalid control or filename characters.  \n\nDo you want the entry removed from the "
               "playlist?";
    }
    return "The audio file '" + question.entryText + "' specified in the '" + question.playlistName +
           "' user playlist cannot be found on the device.  \n\nDo you want the file removed from the playlist?";
}

}  // namespace trayhost
