#include "cli/terminaluserinterface.h"

#include "cli/progressdisplay.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "trayhost/sync/syncruntexts.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>

namespace cli {

namespace {

using trayhost::SyncConflictAnswer;
using trayhost::SyncConflictChoice;

constexpr std::size_t kConflictEntries = std::size(trayhost::kConflictEntries);

// The list position (1-based) of a choice in the conflict dialog.
std::size_t PositionOf(SyncConflictChoice choice)
{
    for (std::size_t i = 0; i < kConflictEntries; ++i) {
        if (trayhost::kConflictEntries[i].choice == choice) return i + 1;
    }
    return 1;
}

std::string ShownPath(const std::string& path)
{
    return platform::CodePage::System().ToUtf8(path);
}

// A PC path as its user knows it: the Linux path.
std::string ShownPcPath(const std::string& path)
{
    const std::optional<std::string> linuxPath = platform::ToLinuxPath(path);
    return linuxPath ? *linuxPath : ShownPath(path);
}

SyncConflictAnswer Decided(SyncConflictChoice choice)
{
    return {trayhost::kIdOk, choice, true};
}

}  // namespace

int32_t TerminalUserInterface::MessageBox(trayhost::WindowHandle, const std::string& text, const std::string& title,
                                          uint32_t style)
{
    EndProgressLine();
    std::fprintf(stderr, "%s: %s\n", title.c_str(), ShownPath(text).c_str());
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

SyncConflictAnswer TerminalUserInterface::AskSyncConflict(trayhost::WindowHandle,
                                                          const trayhost::SyncConflictQuestion& question)
{
    ConflictPolicy policy = conflicts_;
    if (policy == ConflictPolicy::Ask && !::isatty(STDIN_FILENO)) {
        EndProgressLine();
        if (!std::exchange(toldNoTerminal_, true)) {
            std::fprintf(stderr, "kovahdd: conflicts are skipped: there is no terminal to ask (see --conflicts)\n");
        }
        policy = ConflictPolicy::Skip;
    }
    switch (policy) {
    case ConflictPolicy::PcWins: return Decided(SyncConflictChoice::PcOverwritesDevice);
    case ConflictPolicy::DeviceWins: return Decided(SyncConflictChoice::DeviceOverwritesPc);
    case ConflictPolicy::Skip: return Decided(SyncConflictChoice::DoNothing);
    case ConflictPolicy::Ask: break;
    }

    EndProgressLine();
    std::fprintf(stderr, "%s: %s\n  PC File:      %s\n  Device File:  %s\n%s\n", trayhost::kConflictTitle,
                 trayhost::kConflictText, ShownPcPath(question.pcFile).c_str(), ShownPath(question.deviceFile).c_str(),
                 trayhost::kConflictChoiceCaption);
    for (std::size_t i = 0; i < kConflictEntries; ++i) {
        std::fprintf(stderr, "  %zu  %s\n", i + 1, trayhost::kConflictEntries[i].text);
    }
    for (;;) {
        if (const std::optional<SyncConflictAnswer> answer = ReadConflictAnswer(question.choice)) return *answer;
    }
}

// One line of input: a number of the list (the previous choice when empty), followed by 'a' to apply
// it to all file conflicts; 'c' cancels (skips this file), 'x' aborts the run, as does the end of the
// input. Empty optional when the line means nothing.
std::optional<SyncConflictAnswer> TerminalUserInterface::ReadConflictAnswer(SyncConflictChoice previous)
{
    std::fprintf(stderr, "Choice [%zu], followed by 'a' to apply to all file conflicts; 'c' skips this file, "
                         "'x' aborts: ",
                 PositionOf(previous));
    std::fflush(stderr);
    char line[32] = {};
    if (!std::fgets(line, sizeof line, stdin)) return SyncConflictAnswer{trayhost::kIdAbort};
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    if (text == "c") return SyncConflictAnswer{trayhost::kIdCancel};
    if (text == "x") return SyncConflictAnswer{trayhost::kIdAbort};
    SyncConflictAnswer answer{trayhost::kIdOk, previous, false};
    if (!text.empty() && text.back() == 'a') {
        answer.applyToAll = true;
        text.pop_back();
    }
    if (text.empty()) return answer;
    if (text.size() != 1 || text[0] < '1' || text[0] > static_cast<char>('0' + kConflictEntries)) return std::nullopt;
    answer.choice = trayhost::kConflictEntries[static_cast<std::size_t>(text[0] - '1')].choice;
    return answer;
}

void TerminalUserInterface::EndProgressLine()
{
    if (display_) display_->Finish();
}

}  // namespace cli
