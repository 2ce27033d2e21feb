#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Everything the tray program asks of the person in front of it goes through this interface:
// message boxes, beeps and modal prompts. The program implements it with Qt; tests script it.
// A prompt made from a worker thread blocks that worker until the GUI thread has the answer.
namespace trayhost {

using WindowHandle = void*;

// Message box styles, as MessageBox flags: one button set, one icon, optional default button.
inline constexpr uint32_t kMbOk = 0x0;
inline constexpr uint32_t kMbOkCancel = 0x1;
inline constexpr uint32_t kMbYesNoCancel = 0x3;
inline constexpr uint32_t kMbYesNo = 0x4;
inline constexpr uint32_t kMbRetryCancel = 0x5;
inline constexpr uint32_t kMbButtonMask = 0xF;
inline constexpr uint32_t kMbIconStop = 0x10;
inline constexpr uint32_t kMbIconQuestion = 0x20;
inline constexpr uint32_t kMbIconExclamation = 0x30;
inline constexpr uint32_t kMbIconInformation = 0x40;
inline constexpr uint32_t kMbIconMask = 0xF0;
inline constexpr uint32_t kMbDefaultButton2 = 0x100;
inline constexpr uint32_t kMbDefaultButton3 = 0x200;

// Answers of message boxes and dialogs.
enum DialogResult : int32_t {
    kIdOk = 1,
    kIdCancel = 2,
    kIdAbort = 3,
    kIdRetry = 4,
    kIdIgnore = 5,
    kIdYes = 6,
    kIdNo = 7,
};

// The Device Conflict dialog's question: which model is at this drive letter?
struct DeviceConflictQuestion {
    char driveLetter = 0;
    std::string text;  // the warning shown above the list
};

struct DeviceConflictAnswer {
    int32_t result = kIdCancel;  // kIdOk or kIdCancel (closing the window is kIdCancel)
    uint8_t chosenModel = 1;     // item data of the selected list entry when it ended
};

// The File Not Found dialog's question about one bad entry of a user playlist. Texts are in the
// system code page.
struct FileNotFoundQuestion {
    std::string playlistName;        // the playlist's path inside the user playlist folder
    std::string entryText;           // the entry as written, at most 260 bytes
    bool invalidCharacters = false;  // the entry holds control characters; else its file is missing
};

// The File Not Found dialog's buttons, by their control ids.
enum class FileNotFoundChoice : int32_t {
    Yes = 1040,       // remove the entry
    YesToAll = 1061,  // remove it and every further bad entry
    No = 1042,        // keep it; also the close box
    NoToAll = 1014,   // keep it and every further bad entry
    Cancel = 2,       // stop the verification; nothing more is written
};

struct FileNotFoundAnswer {
    FileNotFoundChoice choice = FileNotFoundChoice::No;
    // The "Apply to all user playlists." check box, read with every button but Cancel; empty after
    // Cancel and the close box, which leave the earlier choice in force.
    std::optional<bool> applyToAllPlaylists;
};

// The entries of the Resolve Sync Conflict dialog's list, by their item data.
enum class SyncConflictChoice : int32_t {
    DoNothing = 0,
    PcOverwritesDevice = 1,
    DeviceOverwritesPc = 2,
};

// The Resolve Sync Conflict dialog's question: a file differs between the PC and the device, or
// changed on both since the last run. Paths in the system code page.
struct SyncConflictQuestion {
    std::string pcFile;
    std::string deviceFile;
    SyncConflictChoice choice = SyncConflictChoice::PcOverwritesDevice;  // selected when the dialog opens
};

struct SyncConflictAnswer {
    int32_t result = kIdCancel;  // kIdOk, kIdCancel (also the close box: skip this file) or kIdAbort
    // With kIdOk: the selected entry and the "Apply to all file conflicts." box.
    SyncConflictChoice choice = SyncConflictChoice::PcOverwritesDevice;
    bool applyToAll = false;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A message box; owner may be null. Returns the button pressed.
    virtual int32_t MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                               uint32_t style) = 0;
    virtual void MessageBeep(uint32_t type) = 0;
    virtual DeviceConflictAnswer AskDeviceConflict(const DeviceConflictQuestion& question) = 0;
    // The File Not Found dialog, modal and without owner.
    virtual FileNotFoundAnswer AskFileNotFound(const FileNotFoundQuestion& question) = 0;
    // The Resolve Sync Conflict dialog, modal, owned by owner (may be null).
    virtual SyncConflictAnswer AskSyncConflict(WindowHandle owner, const SyncConflictQuestion& question) = 0;
};

}  // namespace trayhost
