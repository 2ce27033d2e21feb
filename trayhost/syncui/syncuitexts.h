#pragma once

#include <cstdint>
#include <string>

// The fixed texts of the KovaSync setup dialogs: the options dialog, the path editor, the device
// folder browser with its new-folder dialog, the PC browser and the help viewer.
namespace trayhost {

// The options dialog.
inline constexpr const char* kSyncOptionsTitle = "KovaSync Options";
inline constexpr const char* kSyncDeviceLabel = "Device:";
inline constexpr const char* kSyncDropHint =
    "Drag-n-Drop Folders or Files onto the window or press \"Insert...\" to synchonize new content";
inline constexpr const char* kSyncOptionsCaption = "KovaSync Options";
// The clean-up box's caption while no option is chosen; the options' own captions are
// SyncOptionLabel and FileCleanupLabel (trayhost/sync/synctexts.h).
inline constexpr const char* kSyncCleanupCaption = "Delete File/Folders that do not match";
inline constexpr const char* kSyncAdditionalOptions = "Additional Options";
inline constexpr const char* kSyncProfileAfterCaption = "Profile Device After Sync";
inline constexpr const char* kSyncInsertButton = "&Insert...";
inline constexpr const char* kSyncEditButton = "&Edit...";
inline constexpr const char* kSyncDeleteButton = "&Delete";
inline constexpr const char* kSyncRefreshButton = "&Refresh";
inline constexpr const char* kSyncSynchronizeButton = "Synchronize";
inline constexpr const char* kSyncCancelButton = "Cancel";
inline constexpr const char* kSyncHelpButton = "&Help...";
inline constexpr const char* kSyncItemColumn = "Item";
inline constexpr const char* kSyncPcPathColumn = "PC Path";
inline constexpr const char* kSyncDevicePathColumn = "Device Path";
inline constexpr const char* kPcPathPlaceholder = "(PC Path)";
inline constexpr const char* kDevicePathPlaceholder = "(Device Path)";
inline constexpr const char* kNoDevicePresent = "(No Device Present)";

inline constexpr const char* kSyncToItselfText = "You can't synchronize a device to itself";
inline constexpr const char* kSyncToItselfTitle = "Warning";
inline constexpr const char* kInvalidOptionText =
    "Invalid KovaSync option has been specified.  Please select a valid option.";
inline constexpr const char* kInvalidOptionTitle = "Invalid Option";
inline constexpr const char* kSyncOpenFailedText =
    "An unexpected exception occurred creating the synchronization process.  Syncronization aborted.";
inline constexpr const char* kSyncOpenFailedTitle = "ERROR";

// The refusal of two items that claim one path: the title and the texts for a PC path and for a
// device path, with the item's number (from 1).
std::string ItemConflictTitle(int32_t itemNumber);
std::string PcPathConflictText(int32_t itemNumber);
std::string DevicePathConflictText(int32_t itemNumber);

// The path editor.
inline constexpr const char* kPathEditorTitle = "Edit KovaSync Paths";
inline constexpr const char* kPathEditorDeviceLabel = "Device";
inline constexpr const char* kPathEditorItemLabel = "Sync Item";
inline constexpr const char* kPathEditorHint =
    "Specify the two folders to be synched.  Use the browse buttons below or drag-n-drop folders onto each path.";
inline constexpr const char* kPathEditorPcLabel = "PC Path";
inline constexpr const char* kPathEditorDeviceLabelPath = "Device Path";
inline constexpr const char* kBrowseButton = "...";

// The device folder browser and the new-folder dialog.
inline constexpr const char* kDeviceBrowserTitle = "Dialog";
inline constexpr const char* kDeviceBrowserCaption = "Select a device folder/file to synchronize";
inline constexpr const char* kDeviceBrowserNameColumn = "Name";
inline constexpr const char* kDeviceBrowserRefreshButton = "&Refresh";
inline constexpr const char* kDeviceBrowserSelectionLabel = "Selected device path:";
inline constexpr const char* kNewFolderTitle = "Dialog";
inline constexpr const char* kNewFolderLabel = "New Folder";
inline constexpr const char* kFolderCreationTitle = "Error Folder Creation";

// The PC browser.
inline constexpr const char* kPcBrowserTitle = "Please choose the synchronization destination folder.";
inline constexpr const char* kPcBrowserChooseButton = "&Choose";

// The help viewer.
inline constexpr const char* kHelpViewerTitle = "Kova Sync Options Help";

// A device entry of the options dialog and the path editor: "Vantor Kova MP3 Jukebox (E:)". Model 1
// is the HD model; every other code gets the PJ model's name.
std::string DeviceEntryText(uint8_t model, char driveLetter);

// The proposal of the new-folder dialog: "Folder 3".
std::string NewFolderName(int32_t number);
std::string FolderExistsText(const std::string& name);

}  // namespace trayhost
