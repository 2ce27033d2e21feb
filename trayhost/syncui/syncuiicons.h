#pragma once

#include <QIcon>

#include <cstdint>

namespace trayhost {

// The images of the KovaSync dialogs by their icon resource ids (syncuiids.h): the desktop theme's
// icon where the theme has one, else the style's own.
QIcon SyncUiIcon(uint32_t iconId);

}  // namespace trayhost
