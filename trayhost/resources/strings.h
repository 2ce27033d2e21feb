#pragma once

#include "trayhost/ui/userinterface.h"

#include <string>
#include <string_view>

// The fixed texts of the tray program's own windows, menu and messages.
namespace trayhost {

// The main window's title and class (strings 144 and 112): other programs find a running tray
// program by this title, so it must never change.
inline constexpr const char* kWindowName = "KOVAHDTrayApp";
inline constexpr const char* kClassName = "KOVAHDTRAYAPP";

// What --help prints, from which the manual page is made.
inline constexpr const char* kHelpText =
    "Usage: KOVAHDDProfilerTrayApp [--help | --version]\n"
    "\n"
    "The tray program of the Kova hard-disk jukeboxes: an icon in the desktop's notification area\n"
    "whose menu profiles, updates and verifies the attached jukeboxes and sets up KovaSync, which keeps\n"
    "chosen folders of the PC and a jukebox in step. It starts at login. Only one runs per user: one\n"
    "started again ends at once with status 0. Without a notification area it says so once and keeps\n"
    "running; the icon appears when one starts. Without a display it says so and ends with status 1.\n"
    "\n"
    "Options:\n"
    "  --help     print this text and end\n"
    "  --version  print the version and end\n";

// The tray icon's tooltip (string 110).
inline constexpr const char* kTrayTooltip = "Kova MP3/Personal Jukebox Tray Application";

// Menu 129.
inline constexpr const char* kMenuTextAbout = "&About Kova MP3/Personal Jukebox Application...";
inline constexpr const char* kMenuTextProfile = "&Profile Kova MP3/Personal Jukebox Device...";
inline constexpr const char* kMenuTextUpdate = "&Update Kova MP3/Personal Jukebox System Files...";
inline constexpr const char* kMenuTextVerify = "&Verify Kova MP3/Personal Jukebox User Playlists...";
inline constexpr const char* kMenuTextKovaSync = "KovaSync";
inline constexpr const char* kMenuTextClose = "&Close Kova MP3/Personal Jukebox Application";

// Dialog 103.
inline constexpr const char* kAboutTitle = "About Kova MP3/Personal Jukebox Application";
inline constexpr const char* kAboutCaption = "Kova MP3/Personal Jukebox Application";

// Dialog 172.
inline constexpr const char* kDeviceConflictTitle = "Device Conflict";

// Dialog 130, the profile progress dialog, and its button texts.
inline constexpr const char* kProfileTitle = "Kova MP3/Personal Jukebox Profiler";
inline constexpr const char* kProfileDeviceCaption = "Device:";
inline constexpr const char* kProfileContentsCaption = "Profiling Device Contents...";
inline constexpr const char* kProfileStatusCaption = "Status:";
inline constexpr const char* kButtonCancel = "Cancel";
inline constexpr const char* kButtonDone = "Done";

// Messages of a profile run.
inline constexpr const char* kProfileThreadErrorText =
    "Error creating the Kova MP3/Personal Jukebox Profiler thread process.  Profile aborted.";
inline constexpr const char* kProfileThreadErrorTitle = "Profiler Error";
inline constexpr const char* kProfileExceptionText =
    "An unexpected exception occurred during the profiler process.  Profile aborted.";
inline constexpr const char* kProfileExceptionTitle = "ERROR";
inline constexpr const char* kWatchdogErrorText =
    "Unexpected device error has occurred.  Profiler application will be aborted and shut down.  Check that the "
    "device is functioning properly and recommended to shut down and restart Windows.";
inline constexpr const char* kWatchdogErrorTitle = "Error";

// Dialog 131, the File Not Found question about a bad entry of a user playlist. Its title and
// question are made for each question (FileNotFoundTitle, FileNotFoundText).
inline constexpr const char* kFileNotFoundTemplateTitle = "User Playlist - File Not Found";
// Its own key, Alt+P: Alt+A is "Yes to &All"'s.
inline constexpr const char* kApplyToAllPlaylistsCaption = "Apply to all user &playlists.";
inline constexpr const char* kButtonYes = "&Yes";
inline constexpr const char* kButtonYesToAll = "Yes to &All";
inline constexpr const char* kButtonNo = "&No";
inline constexpr const char* kButtonNoToAll = "No to A&ll";
inline constexpr const char* kButtonCancelPrompt = "&Cancel";

// The version and copyright text of the About dialog, for the given version ("1.0.0").
std::string AboutText(const std::string& version);

// The device line of dialog 130: the model's name and the drive letter, on two lines.
std::string ProfileDeviceText(std::string_view deviceName, char driveLetter);

// Dialog 131's title and question for a bad entry; texts in the system code page, as the question's.
// The question shows the control characters of the names in caret notation (a TAB is "^I").
std::string FileNotFoundTitle(const FileNotFoundQuestion& question);
std::string FileNotFoundText(const FileNotFoundQuestion& question);

}  // namespace trayhost
