#pragma once

#include "trayhost/ui/userinterface.h"

#include <string>
#include <string_view>

namespace cli {

class ProgressDisplay;

// What a sync conflict gets when the person at the terminal is not asked.
enum class ConflictPolicy {
    Ask,         // asked at the terminal; without one, Skip
    PcWins,      // "PC file overwrites Device file" for every conflict
    DeviceWins,  // "Device file overwrites PC file"
    Skip,        // "Do Nothing"
};

// The tray program's message boxes and questions on a terminal. A message is printed on standard
// error as "Title: text"; a Yes/No question is answered by the person at the terminal, or, without
// one, by the answer given beforehand (No unless told Yes). A dry run asks nothing: it says that
// the question would be asked, and takes a yes, so that it lists what a yes does. The File Not Found question takes one
// keypress, the keys explained before the first question; without a terminal it is answered No.
// A sync conflict is asked the same way, or decided by the conflict policy.
class TerminalUserInterface : public trayhost::UserInterface {
public:
    // yesFlag names the command's option that answers Yes beforehand, told when no terminal can be asked.
    explicit TerminalUserInterface(bool answerYes, std::string yesFlag = {})
        : answerYes_(answerYes), yesFlag_(std::move(yesFlag))
    {
    }

    int32_t MessageBox(trayhost::WindowHandle owner, const std::string& text, const std::string& title,
                       uint32_t style) override;
    void MessageBeep(uint32_t type) override;
    trayhost::DeviceConflictAnswer AskDeviceConflict(const trayhost::DeviceConflictQuestion& question) override;
    // Ctrl-C or the end of input answer Cancel.
    trayhost::FileNotFoundAnswer AskFileNotFound(const trayhost::FileNotFoundQuestion& question) override;
    // Ctrl-C or the end of input answer Abort.
    trayhost::SyncConflictAnswer AskSyncConflict(trayhost::WindowHandle owner,
                                                 const trayhost::SyncConflictQuestion& question) override;

    void SetConflictPolicy(ConflictPolicy policy) { conflicts_ = policy; }
    void SetDryRun(bool dryRun) { dryRun_ = dryRun; }
    // A progress bar on the display is ended before anything is printed.
    void SetProgressDisplay(ProgressDisplay* display) { display_ = display; }

private:
    int32_t AskYesNo();
    void EndProgressLine();

    bool answerYes_;
    std::string yesFlag_;
    bool dryRun_ = false;
    bool keysExplained_ = false;
    ConflictPolicy conflicts_ = ConflictPolicy::Ask;
    ProgressDisplay* display_ = nullptr;
    bool conflictKeysExplained_ = false;
    bool toldNoTerminal_ = false;
};

// A text of the system code page as the terminal shows it: in UTF-8, with each control character but
// the line feed written in caret notation (a TAB is ^I), so that a name cannot steer the terminal.
std::string TerminalText(std::string_view text);

}  // namespace cli
