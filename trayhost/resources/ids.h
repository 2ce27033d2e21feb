#pragma once

#include "platform/messages.h"

#include <cstdint>

// Numeric ids of the tray program that other code and other programs rely on: commands, menus,
// dialogs and their controls, and window messages. Dialogs and their controls carry their id as
// their object name.
namespace trayhost {

// Commands of the main window (WM_COMMAND, low word of the first parameter).
enum class Command : uint32_t {
    Profile = 32771,
    Close = 32772,
    About = 32773,
    Update = 32774,
    Verify = 32777,
    KovaSync = 32779,
    StartSync = 32780,  // posted by the sync options dialog
};

// Per-device submenu commands: first id + index of the device in the device table.
inline constexpr uint32_t kProfileDeviceFirstId = 600;
inline constexpr uint32_t kUpdateDeviceFirstId = 700;
inline constexpr uint32_t kVerifyDeviceFirstId = 800;

// The tray menu (menu resource 129) and the positions of its device commands.
inline constexpr uint32_t kTrayMenuId = 129;
inline constexpr int kMenuPositionProfile = 2;
inline constexpr int kMenuPositionUpdate = 3;
inline constexpr int kMenuPositionVerify = 4;

// The tray icon: its id, and the message the icon sends to the main window (first parameter: icon
// id; second: the mouse message).
inline constexpr uint32_t kTrayIconId = 129;
inline constexpr uint32_t kTrayIconMessage = platform::kWmUser + 1;

// Mouse messages the tray icon reports.
enum class MouseMessage : uint32_t {
    LeftButtonDown = 513,
    LeftButtonUp = 514,
    LeftButtonDoubleClick = 515,
    RightButtonDown = 516,
    RightButtonUp = 517,
    MiddleButtonUp = 520,
};

// Dialogs and their controls.
inline constexpr uint32_t kDialogAbout = 103;
inline constexpr uint32_t kDialogProfile = 130;
inline constexpr uint32_t kDialogFileNotFound = 131;
inline constexpr uint32_t kDialogDeviceConflict = 172;
inline constexpr int32_t kControlOk = 1;
inline constexpr int32_t kControlCancel = 2;
inline constexpr int32_t kControlAboutText = 1047;
inline constexpr int32_t kControlConflictIcon = 1001;
inline constexpr int32_t kControlConflictList = 1065;
inline constexpr int32_t kControlConflictText = 1066;

// Dialog 130, the profile progress dialog. Besides its button it takes command 1 (kControlOk), sent
// by the worker thread after a cancelled run, which closes it, and command 2 (kControlCancel, the
// Escape key), which acts as the button.
inline constexpr int32_t kControlProfileStatus = 1000;
inline constexpr int32_t kControlProfileDevice = 1001;
inline constexpr int32_t kControlProfileButton = 1003;
inline constexpr int32_t kControlProfilePicture = 1004;
inline constexpr int32_t kControlProfileCaption = 1048;

// The model pictures of dialog 130.
inline constexpr uint32_t kBitmapProfileHd = 132;
inline constexpr uint32_t kBitmapProfilePj = 133;

// Sent by the profile worker thread to the profile dialog. Engine stopped: the engine call has
// returned (second parameter: its result) or thrown, so the cancel watchdog has nothing left to
// watch. Run ended: the button
// becomes "Done" and the dialog comes to the front. The engine's reports arrive as message 1026
// (kProfileProgressMessage of the engine).
inline constexpr uint32_t kProfileEngineStoppedMessage = platform::kWmUser + 40;
inline constexpr uint32_t kProfileRunEndedMessage = platform::kWmUser + 41;

// Dialog 130 also shows a verification of the user playlists, with the same controls. The worker
// thread sends it message 1027 with a status code (first parameter) and, for code 2, the address of
// the playlist's file name (second parameter); and the run-ended message, after which the button is
// "Done". Command 1 closes it, as for a profile.
inline constexpr uint32_t kVerifyStatusMessage = platform::kWmUser + 3;
inline constexpr uint32_t kVerifyRunEndedMessage = platform::kWmUser + 42;

// Dialog 131, "File Not Found": the question (1043) and the check box "Apply to all user playlists."
// (1046). Its buttons carry the ids of FileNotFoundChoice.
inline constexpr int32_t kControlFileNotFoundText = 1043;
inline constexpr int32_t kControlApplyToAllPlaylists = 1046;

// Dialog 160, the sync progress dialog ("Device Synchronization"). Like dialog 130 it takes
// command 1, sent by the worker thread, which closes it, and command 2, which acts as the button.
inline constexpr uint32_t kDialogSyncProgress = 160;
inline constexpr int32_t kControlSyncProgressStatus = 1000;
inline constexpr int32_t kControlSyncProgressDevice = 1001;
inline constexpr int32_t kControlSyncProgressButton = 1003;
inline constexpr int32_t kControlSyncProgressPicture = 1004;
inline constexpr int32_t kControlSyncProgressPathLine = 1030;

// The sync worker's notices to dialog 160: the notice in the first parameter, the address of its
// counts (trayhost::SyncCounts) or 0 in the second.
inline constexpr uint32_t kSyncProgressMessage = platform::kWmUser + 4;
// Sent by the sync worker thread to dialog 160: bring it to the front; set its button to "Done".
inline constexpr uint32_t kSyncBringToFrontMessage = platform::kWmUser + 44;
inline constexpr uint32_t kSyncShowDoneMessage = platform::kWmUser + 45;

// Dialog 101, "Resolve Sync Conflict", and its controls besides OK (1) and Cancel (2).
inline constexpr uint32_t kDialogSyncConflict = 101;
inline constexpr int32_t kControlSyncConflictAbort = 3;
inline constexpr int32_t kControlSyncConflictIcon = 1041;
inline constexpr int32_t kControlSyncConflictText = 1006;
inline constexpr int32_t kControlSyncConflictPcFile = 1047;
inline constexpr int32_t kControlSyncConflictDeviceFile = 1008;
inline constexpr int32_t kControlSyncConflictList = 1009;
inline constexpr int32_t kControlSyncConflictApplyToAll = 1011;

}  // namespace trayhost
