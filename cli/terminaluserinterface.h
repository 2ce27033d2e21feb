#pragma once

#include "trayhost/ui/userinterface.h"

#include <string>
#include <string_view>

namespace cli {

// The tray program's message boxes and questions on a terminal. A message is printed on standard
// error as "Title: text"; a Yes/No question is answered by the person at the terminal, or, without
// one, by the answer given beforehand (No unless told Yes). The File Not Found question takes one
// keypress, the keys explained before the first question; without a terminal it is answered No.
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

private:
    int32_t AskYesNo();

    bool answerYes_;
    std::string yesFlag_;
    bool keysExplained_ = false;
};

// A text of the system code page as the terminal shows it: in UTF-8, with each control character but
// the line feed written in caret notation (a TAB is ^I), so that a name cannot steer the terminal.
std::string TerminalText(std::string_view text);

}  // namespace cli
