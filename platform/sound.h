#pragma once

#include "platform/export.h"

#include <cstdint>
#include <functional>

namespace platform {

inline constexpr uint32_t kBeepQuestion = 32;     // MB_ICONQUESTION
inline constexpr uint32_t kBeepExclamation = 48;  // MB_ICONEXCLAMATION

// MessageBeep: hands the sound type to the installed player (the tray host plays the desktop's
// sound; tests count calls). Without a player installed nothing is heard.
KOVAPLATFORM_API void MessageBeep(uint32_t type);
KOVAPLATFORM_API void SetBeepPlayer(std::function<void(uint32_t type)> player);

}  // namespace platform
