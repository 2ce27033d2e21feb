#include "trayhost/profile/updatetexts.h"

#include <cstdio>
#include <cstdlib>

namespace trayhost {

namespace {

constexpr uint8_t kHdModel = 1;

}  // namespace

std::string SupportAddress()
{
    const char* address = std::getenv(kSupportAddressVariable);
    return address && *address ? address : kDefaultSupportAddress;
}

std::string NewerSystemFilesText(uint8_t model, const std::string& supportAddress)
{
    if (model == kHdModel) {
        return std::string("One or more of the system files on the Vantor Kova MP3 Jukebox device is newer than the "
                           "system files installed with the Kova Profiler application.  It is recommended that you "
                           "visit the Customer Support page on ") +
               supportAddress + " to check for software updates.";
    }
    return std::string("One or more of the system files on the Corvane Kova Personal Jukebox device is newer than the "
                       "system files installed with the Kova Profiler application.  It is recommended that you "
                       "visit ") +
           supportAddress + " to check for software updates.";
}

std::string SystemFilesUpdatedText(uint8_t model, char driveLetter)
{
    const char* format = model == kHdModel
                             ? "The Vantor Kova MP3 Jukebox device (%c:) system files were successfully updated."
                             : "The Corvane Kova Personal Jukebox device (%c:) system files were successfully updated.";
    char text[128];
    std::snprintf(text, sizeof text, format, driveLetter);
    return text;
}

}  // namespace trayhost
