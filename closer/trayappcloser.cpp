#include "closer/trayappcloser.h"

#include "platform/codepage.h"
#include "platform/windowdirectory.h"

#include <thread>

namespace closer {

namespace {

// True to go on with the next window.
bool CloseIfTrayApp(const platform::TopLevelWindow& window, std::chrono::milliseconds pauseAfterEach)
{
    if (window.title.empty()) return true;
    if (!platform::EqualsNoCase(window.title, kTrayAppWindowTitle)) return true;
    // The result is not examined: a window that ignores WM_CLOSE simply keeps running.
    platform::SendTopLevelMessage(window, {platform::kWmClose, 0, 0});
    std::this_thread::sleep_for(pauseAfterEach);
    return true;
}

}  // namespace

int32_t CloseRunningTrayApps(std::chrono::milliseconds pauseAfterEach)
{
    try {
        const bool complete = platform::EnumTopLevelWindows(
            [pauseAfterEach](const platform::TopLevelWindow& window) { return CloseIfTrayApp(window, pauseAfterEach); });
        return complete ? 1 : 0;
    } catch (...) {
        // An exception while examining a window ends the walk; nothing may leave the export, whose
        // caller may be a C program.
        return 0;
    }
}

}  // namespace closer
