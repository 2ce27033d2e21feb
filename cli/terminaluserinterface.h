#pragma once

#include "trayhost/ui/userinterface.h"

namespace cli {

// The tray program's message boxes on a terminal: a message is printed on standard error as
// "Title: text"; a Yes/No question is answered by the person at the terminal, or, without one,
// by the answer given beforehand (No unless told Yes).
class TerminalUserInterface : public trayhost::UserInterface {
public:
    explicit TerminalUserInterface(bool answerYes) : answerYes_(answerYes) {}

    int32_t MessageBox(trayhost::WindowHandle owner, const std::string& text, const std::string& title,
                       uint32_t style) override;
    void MessageBeep(uint32_t type) override;
    trayhost::DeviceConflictAnswer AskDeviceConflict(const trayhost::DeviceConflictQuestion& question) override;

private:
    int32_t AskYesNo();

    bool answerYes_;
};

}  // namespace cli
