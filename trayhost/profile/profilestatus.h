#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the person is told about a profile run: the status line for each report code of the engine,
// and the message for a run that failed. Shared by the tray program and the command-line tool.
namespace trayhost {

// The status text for a report code ("Scanning device..."); for code 7 the value is the address of
// the engine's two counters (visited, total). Empty for codes that change nothing.
std::optional<std::string> ProfileStatusText(int32_t code, intptr_t value);

// "Status:  " followed by the status text, as the progress dialog shows it.
std::string ProfileStatusLine(const std::string& statusText);

// Under the status of a run that reported a playlist it did not write (code 9): the playlists replace
// the device's old ones together or not at all, so none was written.
inline constexpr const char* kPlaylistsNotWrittenOutcome = "The playlists were not written.";

inline constexpr const char* kProfileFailedText =
    "An unexpected error occurred.  Please check all connections to the system and that the device(s) "
    "are working properly.";
inline constexpr const char* kProfileFailedTitle = "Profiler Warning";

inline constexpr const char* kNoDeviceProfileText =
    "No Vantor Kova MP3 or Corvane Kova Personal Jukebox devices were detected.  Please verify all device "
    "connection(s) to the PC and that the device(s) are working properly";
inline constexpr const char* kNoDeviceProfileTitle = "Kova Profiling Aborted";

}  // namespace trayhost
