#pragma once

#include "platform/messages.h"

#include <cstdint>

// The line from the profile worker thread and the engine's progress callback to the profile dialog:
// the dialog's window handle as the tray program keeps it, and the messages sent along it. The
// engine's callback carries no user data, so the handle is process-wide; it is read at the moment
// of each use, and a message for a dialog that has gone is dropped.
namespace trayhost {

// Null while no profile dialog is open.
platform::WindowHandle ProfileDialogHandle();
// Set when the dialog is created, cleared when it is destroyed (GUI thread).
void SetProfileDialogHandle(platform::WindowHandle dialog);

// The engine's progress callback: posts message 1026 with the code and value to the dialog.
void PostProfileReport(int32_t code, int32_t value);

// What the worker thread tells the dialog; each waits until the dialog has handled it. False when
// there was no dialog to tell. The engine's result goes with its stop (kProfileRunFailed when it
// threw or never ran).
bool SendProfileEngineStopped(int32_t result);
bool SendProfileRunEnded();
// Command 1: closes the dialog.
bool SendProfileClose();

}  // namespace trayhost
