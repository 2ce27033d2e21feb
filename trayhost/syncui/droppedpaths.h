#pragma once

#include "trayhost/syncui/itemconflicts.h"
#include "trayhost/ui/userinterface.h"

#include <optional>
#include <string>
#include <vector>

namespace trayhost {

struct DroppedRows {
    std::vector<SyncPathPair> added;  // rows to append, in drop order
    std::optional<std::size_t> rowToSelect;  // among the existing rows and then the added ones
};

// What files and folders dropped on the options dialog add to its item list. Each dropped path (an
// inside path) that exists and is not yet some row's PC path (letter case aside) becomes a row whose
// device path is the dropped name at the top of the device: the folder C:\Music\Rock gives E:\Rock,
// the drive root C:\ gives C: and E:\. A path on the device's own drive is refused with the warning
// "You can't synchronize a device to itself" (owner: the dialog). The last row added or found is the
// one to select. Nothing at all without a device (deviceLetter 0).
DroppedRows PlanDroppedRows(const std::vector<SyncPathPair>& rows, const std::vector<std::string>& droppedPaths,
                            char deviceLetter, UserInterface& userInterface, WindowHandle owner);

}  // namespace trayhost
