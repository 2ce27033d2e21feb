#pragma once

#include "trayhost/sync/syncsettings.h"

#include <QIcon>
#include <QPixmap>

#include <cstdint>

namespace trayhost {

// The images of the KovaSync dialogs by their icon resource ids (syncuiids.h): the desktop theme's
// icon where the theme has one, else the style's own.
QIcon SyncUiIcon(uint32_t iconId);

// The small picture beside a copy direction in the options dialog: the PC, an arrow that shows
// which way files go, and the device.
QPixmap SyncOptionPicture(SyncOption option);

}  // namespace trayhost
