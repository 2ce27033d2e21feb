#pragma once

#include "platform/messages.h"
#include "trayhost/verify/verificationreport.h"

#include <atomic>

namespace trayhost {

// The line from the verification worker thread to the verification dialog: the dialog's window
// handle, kept by the command that opens the dialog, and the messages the worker sends along it.
// Each send waits until the dialog has handled it, so the worker never runs ahead of what the dialog
// shows; a message for a dialog that has gone is dropped.
class VerificationDialogLink : public VerificationReport {
public:
    // Set when the dialog is created, cleared when it is destroyed (GUI thread).
    void SetDialog(platform::WindowHandle dialog) { dialog_ = dialog; }
    platform::WindowHandle dialog() const { return dialog_; }

    // Message 1027 with the status code; for Verifying, the address of the file name.
    void ShowStatus(VerifyStatus status, const std::string& fileName) override;
    // The run is over: the button becomes "Done" and the dialog comes to the front.
    void SendRunEnded();
    // Command 1, which closes the dialog.
    void SendClose();

private:
    void Send(uint32_t message, uintptr_t wParam, intptr_t lParam);

    std::atomic<platform::WindowHandle> dialog_{nullptr};
};

}  // namespace trayhost
