#pragma once

#include "trayhost/ui/userinterface.h"
#include "trayhost/verify/verifytexts.h"

#include <string>

namespace trayhost {

// The window that shows a verification, as the verification's rules (VerificationProgress) drive it.
class VerificationDialogView {
public:
    virtual ~VerificationDialogView() = default;

    // The status control (1000), repainted at once; the text is in the system code page.
    virtual void ShowStatus(const std::string& line) = 0;
    // The text of button 1003.
    virtual void ShowButtonText(const std::string& text) = 0;
    virtual void BringToFront() = 0;
    // Posts a status code (message 1027, no file name) to the window itself, behind those queued.
    virtual void PostStatus(VerifyStatus status) = 0;
    // The window handle that owns the dialog's message boxes.
    virtual WindowHandle handle() const = 0;
    // Destroys the window; called once.
    virtual void Close() = 0;
    // Destroys the program's main window, which ends the program.
    virtual void EndProgram() = 0;
};

}  // namespace trayhost
