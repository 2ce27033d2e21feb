#pragma once

#include "trayhost/ui/userinterface.h"

#include <cstdint>
#include <string>

namespace trayhost {

// The window that shows a profile run, as the run's rules (ProfileProgress) drive it.
class ProfileDialogView {
public:
    virtual ~ProfileDialogView() = default;

    // The status control (1000), repainted at once.
    virtual void ShowStatus(const std::string& line) = 0;
    // The line under the status that tells what the run could not do.
    virtual void ShowOutcome(const std::string& line) = 0;
    // The text of button 1003.
    virtual void ShowButtonText(const std::string& text) = 0;
    // The pointer shows that work goes on while the engine runs.
    virtual void ShowBusyCursor(bool busy) = 0;
    virtual void BringToFront() = 0;
    // Posts a report code (message 1026, value 0) to the window itself, behind those already queued.
    virtual void PostReport(int32_t code) = 0;
    // The window handle that owns the dialog's message boxes.
    virtual WindowHandle handle() const = 0;
    // Destroys the window; called once, last.
    virtual void Close() = 0;
    // Destroys the program's main window, which ends the program.
    virtual void EndProgram() = 0;
};

}  // namespace trayhost
