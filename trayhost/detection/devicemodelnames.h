#pragma once

#include "trayhost/detection/kovadetection.h"

#include <array>
#include <cstdint>
#include <string_view>

// The names the user sees for the two models, and the Device Conflict dialog's list built from them.
namespace trayhost {

inline constexpr std::string_view kModelNameHd = "Vantor Kova MP3 Jukebox";
inline constexpr std::string_view kModelNamePj = "Corvane Kova Personal Jukebox";

struct DeviceModelChoice {
    std::string_view name;
    uint8_t model;  // the list entry's item data
};

// The Device Conflict dialog lists these in this order (the list is not sorted) and selects the first.
inline constexpr std::array kDeviceConflictChoices{
    DeviceModelChoice{kModelNameHd, kModelHd},
    DeviceModelChoice{kModelNamePj, kModelPj},
};

// Empty for kModelNone and for codes no model has.
constexpr std::string_view DeviceModelName(uint8_t model)
{
    for (const DeviceModelChoice& choice : kDeviceConflictChoices) {
        if (choice.model == model) return choice.name;
    }
    return {};
}

}  // namespace trayhost
