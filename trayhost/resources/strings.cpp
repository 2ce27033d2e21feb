#include "trayhost/resources/strings.h"

#include "trayhost/resources/caretnotation.h"

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

// The names go in with their control characters visible: a TAB read as a line break would hide
// the very character the question is about.
std::string FileNotFoundText(const FileNotFoundQuestion& question)
{
    const std::string playlist = CaretNotation(question.playlistName);
    const std::string entry = CaretNotation(question.entryText);
    if (question.invalidCharacters) {
        return "The '" + playlist + "' playlist entry '" + entry +
               "' contains invalid control or filename characters.  \n\nDo you want the entry removed from the "
               "playlist?";
    }
    return "The audio file '" + entry + "' specified in the '" + playlist +
           "' user playlist cannot be found on the device.  \n\nDo you want the file removed from the playlist?";
}

}  // namespace trayhost
