#pragma once

#include <string>

// The fixed texts of the tray program's own windows, menu and messages.
namespace trayhost {

// The main window's title and class (strings 144 and 112): other programs find a running tray
// program by this title, so it must never change.
inline constexpr const char* kWindowName = "KOVAHDTrayApp";
inline constexpr const char* kClassName = "KOVAHDTRAYAPP";

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

// Shown by a command whose operation this build does not have.
inline constexpr const char* kNotAvailableTitle = "Kova MP3/Personal Jukebox Application";

// The version and copyright text of the About dialog, for the given version ("1.0.0").
std::string AboutText(const std::string& version);

// The message of a command that is not available yet; the name is the command's menu text.
std::string NotAvailableText(const std::string& commandMenuText);

}  // namespace trayhost
