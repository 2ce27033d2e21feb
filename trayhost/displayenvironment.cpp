#include "trayhost/displayenvironment.h"

namespace trayhost {

bool HasDisplay(const EnvironmentLookup& lookup)
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = lookup(variable);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace trayhost
