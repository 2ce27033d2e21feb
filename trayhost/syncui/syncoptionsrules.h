#pragma once

#include "trayhost/devicetable.h"
#include "trayhost/sync/syncsettings.h"
#include "trayhost/syncui/itemconflicts.h"
#include "trayhost/syncui/patheditorexchange.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rules of the "KovaSync Options" dialog that need no widgets: its device box, the option
// buttons and the clean-up box, the item buttons, what the path editor is handed, and the settings
// the dialog leaves behind.
namespace trayhost {

// One entry of the device box: "Vantor Kova MP3 Jukebox (E:)" and the device table entry behind it.
struct DeviceBoxEntry {
    std::string text;
    int32_t tableIndex = 0;

    bool operator==(const DeviceBoxEntry&) const = default;
};

// The device box's entries for the table, sorted by their text as the box sorts them.
std::vector<DeviceBoxEntry> DeviceBoxEntries(const DeviceTable& devices);

// The box position to select: the device at the profile's letter; else the only device; else none.
std::optional<std::size_t> ChosenDeviceEntry(const std::vector<DeviceBoxEntry>& entries, const DeviceTable& devices,
                                             char deviceLetter);

// The option of the three buttons, checked in the order both ways, PC to device, device to PC;
// Invalid when none is checked.
SyncOption OptionOfButtons(bool syncBoth, bool pcToDevice, bool deviceToPc);

// How the clean-up box shows under an option: hidden and disabled both ways; shown, enabled and
// captioned for the option one way; shown and enabled with the general caption under no option.
struct CleanupBox {
    bool shown = false;
    bool enabled = false;
    std::string_view caption;
};
CleanupBox CleanupBoxFor(SyncOption option);

// Insert needs a device; Edit and Delete a selected row.
struct ItemButtons {
    bool insert = false;
    bool edit = false;
    bool remove = false;
};
ItemButtons ItemButtonsFor(int32_t deviceCount, int rowCount, bool rowSelected);

// The path editor's context for an item of the dialog. The device is the one chosen in the device
// box (null when none is chosen); without one the editor gets no letter, and editing an existing
// item says "(No Device Present)" where a new one shows nothing.
enum class EditKind {
    Insert,
    Edit,
};
PathEditorExchange MakePathEditorExchange(EditKind kind, const DeviceTable::Entry* device, SyncOption option,
                                          int32_t itemNumber, const SyncPathPair& paths);

// What the dialog holds when it closes with "Synchronize" or "Cancel".
struct SyncOptionsChoice {
    char deviceLetter = 0;  // the chosen device's letter; 0 for none
    SyncOption option = SyncOption::Invalid;
    bool cleanupChecked = false;
    bool profileAfterSync = false;
    std::vector<SyncPathPair> rows;
};

// Copies the choice into the settings: the items are replaced by the rows (paths cut to 260
// characters, record maps empty). Both ways the clean-up box is hidden, and the stored clean-up
// choice stays as it was.
void CollectSyncSettings(const SyncOptionsChoice& choice, SyncSettings& settings);

}  // namespace trayhost
