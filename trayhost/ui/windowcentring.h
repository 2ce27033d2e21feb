#pragma once

#include <cstdint>

class QWidget;

namespace trayhost {

// Moves a window, keeping its size, so that it sits in the middle of the desktop of its screen:
// left = centre x - width / 2, top = centre y - height / 2 (integer division). 0 for a null window,
// 1 otherwise. Used by dialogs that open without an owner.
int32_t CenterWindow(QWidget* window);

}  // namespace trayhost
