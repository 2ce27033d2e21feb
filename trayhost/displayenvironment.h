#pragma once

#include <functional>

namespace trayhost {

// Reads one environment variable: its value, or null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// Whether the program has a display to show itself on, judged from the environment before the GUI
// starts: an X display (DISPLAY), a Wayland one (WAYLAND_DISPLAY), or a platform the person named
// in QT_QPA_PLATFORM (offscreen needs no display). Empty values count as unset.
bool HasDisplay(const EnvironmentLookup& lookup);

// Said on standard error, after the program's name, when there is none; the program then ends with
// status 1 rather than let the GUI toolkit abort.
inline constexpr const char* kNoDisplayText =
    "no display to show the tray icon on (DISPLAY and WAYLAND_DISPLAY are not set); start it in a desktop "
    "session, or with QT_QPA_PLATFORM=offscreen to run it without one";

}  // namespace trayhost
