#pragma once

#include "platform/messages.h"
#include "trayhost/resources/ids.h"

#include <cstdint>

namespace trayhost {

// What a WM_COMMAND asks of a progress dialog: OK closes it; Cancel (which the close box and Escape
// also send) and the dialog's own button press that button, which cancels a run and closes a
// finished one.
enum class ProgressCommand { None, Close, PressButton };

inline ProgressCommand ProgressCommandOf(const platform::WindowMessage& command, int32_t buttonId)
{
    const auto id = static_cast<int32_t>(command.wParam & 0xFFFF);
    if (id == kControlOk) return ProgressCommand::Close;
    if (id == kControlCancel || id == buttonId) return ProgressCommand::PressButton;
    return ProgressCommand::None;
}

}  // namespace trayhost
