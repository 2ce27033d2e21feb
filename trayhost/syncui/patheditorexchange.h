#pragma once

#include "trayhost/sync/syncsettings.h"

#include <cstdint>
#include <string>

namespace trayhost {

// What the options dialog hands the path editor, and the editor hands back: the item and the
// context it is edited in.
struct PathEditorExchange {
    std::string deviceLabel;    // "Vantor Kova MP3 Jukebox (E:)", "(No Device Present)", or empty
    std::string pcPath;         // in: the item's PC path; out: the accepted one (inside form)
    std::string devicePath;     // in: the item's device path; out: the accepted one
    char deviceLetter = 0;      // the device the item is for, upper case; 0 = no device
    SyncOption option = SyncOption::Invalid;  // the option chosen in the options dialog
    int32_t itemNumber = -1;    // the item's number, from 1; -1 = none
};

}  // namespace trayhost
