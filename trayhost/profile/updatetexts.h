#pragma once

#include "trayhost/profile/profilestatus.h"

#include <cstdint>
#include <string>

// What the person is told about an update of a device's help files and system files. Shared by the
// tray program, which shows these in message boxes, and the command-line tool, which prints them.
namespace trayhost {

// The same words as when a profile finds no device, under the update's title.
inline constexpr const char* kNoDeviceUpdateText = kNoDeviceProfileText;
inline constexpr const char* kNoDeviceUpdateTitle = "Kova Update Aborted";

inline constexpr const char* kUpdateErrorTitle = "ERROR";
inline constexpr const char* kHelpFilesFailedText = "Error occurred while trying to update the help files.";
inline constexpr const char* kSystemFilesFailedText = "Error occurred while trying to update the system files.";

// Title of the two notices below.
inline constexpr const char* kUpdateNoticeTitle = "Kova MP3/Personal Jukebox";

// Where the newer-files notices send the person to look for software updates, for either model: the
// support page named in the variable KOVAHDD_SUPPORT_ADDRESS (by a distributor, a dealer or the
// person), else plain words that fit both notices.
inline constexpr const char* kSupportAddressVariable = "KOVAHDD_SUPPORT_ADDRESS";
inline constexpr const char* kDefaultSupportAddress = "the manufacturer's web site";
std::string SupportAddress();

// The device holds newer system files than the installed copies. model: 1 is the HD model; every
// other code gets the PJ model's text. supportAddress: SupportAddress().
std::string NewerSystemFilesText(uint8_t model, const std::string& supportAddress);

// The system files were updated; the drive letter is shown as "(F:)".
std::string SystemFilesUpdatedText(uint8_t model, char driveLetter);

}  // namespace trayhost
