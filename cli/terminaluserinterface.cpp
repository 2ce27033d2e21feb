#include "cli/terminaluserinterface.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace cli {

int32_t TerminalUserInterface::MessageBox(trayhost::WindowHandle, const std::string& text, const std::string& title,
                                          uint32_t style)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    if ((style & trayhost::kMbButtonMask) != trayhost::kMbYesNo) return trayhost::kIdOk;
    return AskYesNo();
}

int32_t TerminalUserInterface::AskYesNo()
{
    if (answerYes_) {
        std::fprintf(stderr, "(yes)\n");
        return trayhost::kIdYes;
    }
    if (!::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "(no: there is no terminal to ask; --create-folders answers yes)\n");
        return trayhost::kIdNo;
    }
    std::fprintf(stderr, "[y/N] ");
    std::fflush(stderr);
    char line[16] = {};
    if (!std::fgets(line, sizeof line, stdin)) return trayhost::kIdNo;
    return line[0] == 'y' || line[0] == 'Y' ? trayhost::kIdYes : trayhost::kIdNo;
}

// A terminal program stays quiet; the message printed says it all.
void TerminalUserInterface::MessageBeep(uint32_t) {}

// No command that uses this interface detects devices; were one to ask, the question is cancelled.
trayhost::DeviceConflictAnswer TerminalUserInterface::AskDeviceConflict(const trayhost::DeviceConflictQuestion&)
{
    return {};
}

}  // namespace cli
