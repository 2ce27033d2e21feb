#pragma once

#include <string>

namespace trayhost {

// The single-instance test: true when a top-level window of any process of this user carries the
// given title, compared without regard to case (the title is used up to its first 1024 bytes).
bool IsAnotherInstanceRunning(const std::string& windowName);

}  // namespace trayhost
