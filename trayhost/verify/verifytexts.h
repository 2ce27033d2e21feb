#pragma once

#include "trayhost/profile/profilestatus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the person is told about a verification of a device's user playlists: the dialog's texts and
// status lines, and the messages of the run. Shared by the tray program and the command-line tool.
// Names and paths are in the system code page.
namespace trayhost {

// The status codes of message 1027.
enum class VerifyStatus : int32_t {
    Scanning = 1,
    Verifying = 2,  // with the file name of the folder entry being looked at
    Finished = 3,
    Cancelling = 4,
    NoPlaylists = 5,
    DeviceGone = 6,  // also a device without a user playlist folder
};

// The status text of a code; fileName is code 2's, empty when none was given. Empty for codes that
// change nothing.
std::optional<std::string> VerifyStatusText(int32_t code, std::string_view fileName);

// Dialog 130 as it shows a verification.
inline constexpr const char* kVerifyTitle = "Kova MP3/Personal Jukebox Verify User Playlists";
inline constexpr const char* kVerifyCaption = "User Playlist Verification...";

// The same words as when a profile finds no device, under the verification's title.
inline constexpr const char* kNoDeviceVerifyText = kNoDeviceProfileText;
inline constexpr const char* kNoDeviceVerifyTitle = "Kova Verify Aborted";

inline constexpr const char* kVerifyThreadErrorText =
    "Error creating the Kova MP3/Personal Jukebox User Playlist thread process.  Profile aborted.";
inline constexpr const char* kVerifyThreadErrorTitle = "Profiler Error";
inline constexpr const char* kVerifyExceptionText =
    "An unexpected exception occurred during the user playlist verification process.  Verify aborted.";
inline constexpr const char* kVerifyErrorTitle = "ERROR";

// A playlist that cannot be read, or whose new content cannot be written; fileName as listed.
std::string PlaylistFileErrorText(std::string_view fileName);
// An emptied playlist that cannot be deleted; the name inside the user playlist folder.
std::string PlaylistDeleteErrorText(std::string_view playlistName);
inline constexpr const char* kFileErrorTitle = "File error";

// The question before a read-only playlist is changed, with its full path.
std::string ReadOnlyQuestionText(std::string_view path);
inline constexpr const char* kReadOnlyQuestionTitle = "Overwrite Prompt";
// The read-only attribute would not clear: the full path and the system's text for the error, which
// is cut to 255 characters. Shown under kVerifyErrorTitle.
std::string ReadOnlyErrorText(std::string_view path, std::string_view systemErrorText);

// Asked when the dialog closes after playlists changed: the model's name and the drive letter.
std::string ProfileOfferText(std::string_view deviceName, char driveLetter);
inline constexpr const char* kProfileOfferTitle = "Kova Profile";

}  // namespace trayhost
