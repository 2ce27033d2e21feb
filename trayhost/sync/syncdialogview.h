#pragma once

#include "trayhost/sync/syncrunview.h"
#include "trayhost/ui/userinterface.h"

#include <string>

namespace trayhost {

// The window that shows a sync run, as the run's rules (SyncProgress) drive it.
class SyncDialogView {
public:
    virtual ~SyncDialogView() = default;

    // The status control (1000) and the path line (1030), in UTF-8, paths as the person knows them. A
    // new text shows at the next repaint.
    virtual void ShowStatus(const std::string& line) = 0;
    virtual void ShowPathLine(const std::string& line) = 0;
    // Repaints at once.
    virtual void Repaint() = 0;
    // The text of button 1003.
    virtual void ShowButtonText(const std::string& text) = 0;
    virtual void BringToFront() = 0;
    // Posts a notice (message 1028, no counts) to the window itself, behind those already queued.
    virtual void PostNotice(SyncNotice notice) = 0;
    // Posts the profile command (32771) for the device at the drive letter to the tray program's
    // main window.
    virtual void PostProfileCommand(char driveLetter) = 0;
    // The window handle that owns the dialog's message boxes.
    virtual WindowHandle handle() const = 0;
    // Destroys the window; called once, last.
    virtual void Close() = 0;
};

}  // namespace trayhost
