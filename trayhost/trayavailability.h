#pragma once

namespace trayhost {

// Follows whether the desktop offers a notification area (tray) and says what to do about it: tell
// the user once that there is none, and add the icon again whenever the tray comes (back), as after
// a restart of the desktop's panel.
class TrayAvailability {
public:
    enum class Action {
        None,
        ReportMissing,  // the first time no tray is seen
        AddIconAgain,   // a tray appeared where there was none
    };

    // Each observation of the desktop, in time order.
    Action Observe(bool trayAvailable);

private:
    bool seen_ = false;
    bool available_ = false;
    bool reported_ = false;
};

}  // namespace trayhost
