#pragma once

#include <cstdint>

// Numeric ids of the KovaSync setup dialogs and their controls. Each dialog and control carries its
// id as its object name; OK is 1 and Cancel 2 in every dialog (trayhost/resources/ids.h).
namespace trayhost {

// Dialog 143, "KovaSync Options".
inline constexpr uint32_t kDialogSyncOptions = 143;
inline constexpr int32_t kControlSyncDevice = 1007;
inline constexpr int32_t kControlSyncRefresh = 1019;
inline constexpr int32_t kControlSyncItems = 1023;
inline constexpr int32_t kControlSyncInsert = 1024;
inline constexpr int32_t kControlSyncEdit = 1025;
inline constexpr int32_t kControlSyncDelete = 1026;
inline constexpr int32_t kControlSyncBoth = 1054;
inline constexpr int32_t kControlSyncPcToDevice = 1015;
inline constexpr int32_t kControlSyncDeviceToPc = 1016;
inline constexpr int32_t kControlSyncCleanup = 1031;
inline constexpr int32_t kControlSyncHelp = 1032;
inline constexpr int32_t kControlSyncProfileAfter = 1042;

// The path editor, "Edit KovaSync Paths".
inline constexpr int32_t kControlEditorDevice = 1028;
inline constexpr int32_t kControlEditorItem = 1029;
inline constexpr int32_t kControlEditorHint = 1044;
inline constexpr int32_t kControlEditorPcPath = 1012;
inline constexpr int32_t kControlEditorBrowsePc = 1017;
inline constexpr int32_t kControlEditorDevicePath = 1013;
inline constexpr int32_t kControlEditorBrowseDevice = 1018;
inline constexpr int32_t kControlEditorDevicePathLabel = 1065;

// The device folder browser and its new-folder dialog.
inline constexpr int32_t kControlBrowserTree = 1052;
inline constexpr int32_t kControlBrowserList = 1053;
inline constexpr int32_t kControlBrowserNewFolder = 1021;
inline constexpr int32_t kControlBrowserRefresh = 1022;
inline constexpr int32_t kControlBrowserSelection = 1020;
inline constexpr int32_t kControlNewFolderName = 1051;

// The images of the device folder browser, by their icon resource ids.
inline constexpr uint32_t kIconBrowserDrive = 137;
inline constexpr uint32_t kIconBrowserFolder = 138;
inline constexpr uint32_t kIconBrowserOpenFolder = 149;
inline constexpr uint32_t kIconBrowserFile = 140;
inline constexpr uint32_t kIconBrowserNoDevice = 150;
inline constexpr uint32_t kIconBrowserNewFolder = 141;

// The help viewer, "Kova Sync Options Help": its text.
inline constexpr int32_t kControlHelpText = 1039;

}  // namespace trayhost
