#pragma once

#include "trayhost/devicetable.h"
#include "trayhost/resources/ids.h"

#include <bitset>
#include <cstdint>

// What the tray program does when it is asked for something while one of its dialogs is open:
// at most one long operation runs at a time, and its dialog is brought back instead.
namespace trayhost {

// The dialogs the tray program keeps a handle of, one slot each.
enum class DialogSlot {
    Profile,       // profile progress
    Verification,  // user playlist verification progress
    SyncProgress,  // synchronisation progress
    SyncOptions,   // "KovaSync Options"
    About,
};

// Which slots hold an open dialog.
class OpenDialogs {
public:
    bool IsOpen(DialogSlot slot) const { return open_.test(static_cast<std::size_t>(slot)); }
    void SetOpen(DialogSlot slot, bool open) { open_.set(static_cast<std::size_t>(slot), open); }

private:
    std::bitset<5> open_;
};

struct TrayClickAction {
    enum class Kind {
        Ignore,
        RaiseDialog,  // restore the dialog and bring it to the front; no menu
        ShowMenu,     // rebuild the device table and show the menu
    };
    Kind kind = Kind::Ignore;
    DialogSlot dialog = DialogSlot::Profile;  // for RaiseDialog
};

// A click on the tray icon: only the release of the left button, a left double click and the release
// of the right button act. An
// open long-operation dialog is raised instead of the menu, the first open one in the order profile,
// verification, sync options, sync progress. While the device table is being rebuilt nothing happens.
TrayClickAction DecideTrayClick(MouseMessage mouse, const OpenDialogs& open, bool detecting);

enum class KovaSyncAction {
    Beep,           // a synchronisation is running, or its worker has not ended since its dialog closed
    RaiseOptions,   // the options dialog is open: give it the focus
    CreateOptions,
};

// The KovaSync command (32779). A sync worker still ending (its dialog closed by the cancel watchdog)
// counts as running: the options dialog loads the profile, which frees the items the worker holds.
KovaSyncAction DecideKovaSync(const OpenDialogs& open, bool syncWorkerRunning);

enum class ProfileAction {
    RaiseProfile,  // the profile dialog is open: bring it to the front with the focus
    Beep,          // busy: the verification dialog is open, or the last run's worker has not ended
    NoDevice,      // "Kova Profiling Aborted"
    Ignore,        // the selected device is of no model the profile dialog can show
    Start,
};

// The profile command on the selected device (null when the selected index holds no device). A
// worker still ending (its dialog already closed) counts as busy: two engine runs at once would
// share the engine's catalogue.
ProfileAction DecideProfile(const OpenDialogs& open, const DeviceTable::Entry* selected, bool workerRunning);

enum class VerifyAction {
    Beep,                // busy: the profile dialog is open, or the last verification's worker has not ended
    RaiseVerification,   // the verification dialog is open: bring it to the front with the focus
    NoDevice,            // "Kova Verify Aborted"
    Ignore,              // the selected device is of no model the dialog can show
    Start,
};

// The verify command on the selected device (null when the selected index holds no device).
VerifyAction DecideVerify(const OpenDialogs& open, const DeviceTable::Entry* selected, bool workerRunning);

enum class StartSyncAction {
    Beep,           // busy: another operation's dialog or the options dialog is open, or the last run's
                    // worker has not ended
    RaiseProgress,  // the sync progress dialog is open: bring it to the front with the focus
    NoDevice,       // "Kova Synchronization Aborted"
    Ignore,         // the selected device is of no model the progress dialog can show
    Start,
};

// The start of a synchronisation run (command 32780) on the selected device (null when the selected
// index holds no device). A worker still ending (its dialog already closed) counts as busy: two runs
// at once would share the one sync profile.
StartSyncAction DecideStartSync(const OpenDialogs& open, const DeviceTable::Entry* selected, bool workerRunning);

}  // namespace trayhost
