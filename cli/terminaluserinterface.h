#pragma once

#include "trayhost/ui/userinterface.h"

#include <optional>

namespace cli {

class ProgressDisplay;

// What a sync conflict gets when the person at the terminal is not asked.
enum class ConflictPolicy {
    Ask,         // asked at the terminal; without one, Skip
    PcWins,      // "PC file overwrites Device file" for every conflict
    DeviceWins,  // "Device file overwrites PC file"
    Skip,        // "Do Nothing"
};

// The tray program's message boxes on a terminal: a message is printed on standard error as
// "Title: text"; a Yes/No question is answered by the person at the terminal, or, without one,
// by the answer given beforehand (No unless told Yes). A sync conflict is asked like the conflict
// dialog, or decided by the policy.
class TerminalUserInterface : public trayhost::UserInterface {
public:
    // A progress bar on display is ended before anything is printed.
    explicit TerminalUserInterface(bool answerYes, ConflictPolicy conflicts = ConflictPolicy::Ask,
                                   ProgressDisplay* display = nullptr)
        : answerYes_(answerYes), conflicts_(conflicts), display_(display)
    {
    }

    int32_t MessageBox(trayhost::WindowHandle owner, const std::string& text, const std::string& title,
                       uint32_t style) override;
    void MessageBeep(uint32_t type) override;
    trayhost::DeviceConflictAnswer AskDeviceConflict(const trayhost::DeviceConflictQuestion& question) override;
    trayhost::SyncConflictAnswer AskSyncConflict(trayhost::WindowHandle owner,
                                                 const trayhost::SyncConflictQuestion& question) override;

private:
    int32_t AskYesNo();
    std::optional<trayhost::SyncConflictAnswer> ReadConflictAnswer(trayhost::SyncConflictChoice previous);
    void EndProgressLine();

    bool answerYes_;
    ConflictPolicy conflicts_;
    ProgressDisplay* display_;
    bool toldNoTerminal_ = false;
};

}  // namespace cli
