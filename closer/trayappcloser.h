#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

namespace closer {

// The main-window title by which a running tray program is recognised.
inline constexpr std::string_view kTrayAppWindowTitle = "KOVAHDTrayApp";

// Gives each closed tray program time to remove its tray icon and end before the next is asked.
inline constexpr std::chrono::milliseconds kPauseAfterClose{500};

// Sends WM_CLOSE to every top-level window whose whole title is kTrayAppWindowTitle, compared without
// regard to case; each send returns once the window has handled it and is followed by the pause.
// 1 when every window was examined, 0 when the walk was cut short (an exception) or could not run.
int32_t CloseRunningTrayApps(std::chrono::milliseconds pauseAfterEach);

}  // namespace closer
