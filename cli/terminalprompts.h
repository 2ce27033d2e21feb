#pragma once

#include "trayhost/ui/userinterface.h"

#include <string>
#include <string_view>

namespace cli {

// The questions and messages of a verification on the terminal. With a terminal on standard input,
// a bad entry's answer and the read-only question are one keypress each; messages go to standard
// error. Without one nothing is asked: a read-only playlist is left as it is.
class TerminalPrompts : public trayhost::UserInterface {
public:
    explicit TerminalPrompts(bool interactive) : interactive_(interactive) {}

    // A Yes/No question asks for y or n on a terminal and answers No otherwise; any other box is
    // printed as "TITLE: TEXT" and answers OK.
    int32_t MessageBox(trayhost::WindowHandle owner, const std::string& text, const std::string& title,
                       uint32_t style) override;
    // The terminal stays quiet.
    void MessageBeep(uint32_t type) override;
    // Not asked on the terminal: printed, and answered Cancel.
    trayhost::DeviceConflictAnswer AskDeviceConflict(const trayhost::DeviceConflictQuestion& question) override;
    // The keys are explained before the first question. Ctrl-C or the end of input answer Cancel.
    trayhost::FileNotFoundAnswer AskFileNotFound(const trayhost::FileNotFoundQuestion& question) override;

private:
    bool interactive_;
    bool keysExplained_ = false;
};

// A text of the system code page as the terminal shows it: in UTF-8, with each control character but
// the line feed written in caret notation (a TAB is ^I), so that an entry cannot steer the terminal.
std::string TerminalText(std::string_view text);

}  // namespace cli
