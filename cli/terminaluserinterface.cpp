#include "cli/terminaluserinterface.h"

#include "cli/progressdisplay.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "trayhost/resources/caretnotation.h"
#include "trayhost/sync/syncruntexts.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace cli {

namespace {

using trayhost::FileNotFoundChoice;
using trayhost::SyncConflictAnswer;
using trayhost::SyncConflictChoice;

struct KeyAnswer {
    char key;
    FileNotFoundChoice choice;
    bool applyToAllPlaylists;
    const char* said;  // echoed after the keypress
};

constexpr KeyAnswer kKeyAnswers[] = {
    {'y', FileNotFoundChoice::Yes, false, "removed"},
    {'n', FileNotFoundChoice::No, false, "kept"},
    {'a', FileNotFoundChoice::YesToAll, false, "removed, with the further ones of this playlist"},
    {'A', FileNotFoundChoice::YesToAll, true, "removed, with the further ones of every playlist"},
    {'l', FileNotFoundChoice::NoToAll, false, "kept, with the further ones of this playlist"},
    {'L', FileNotFoundChoice::NoToAll, true, "kept, with the further ones of every playlist"},
};

constexpr const char* kKeysExplained =
    "Each bad entry is asked about with one key:\n"
    "  y  remove it                 n  keep it\n"
    "  a  remove it and every further bad entry of this playlist (A: of every playlist)\n"
    "  l  keep it and every further bad entry of this playlist (L: of every playlist)\n"
    "  c  cancel: stop here, this playlist stays as it was\n";

// The keys of the conflict question: the entry of the dialog's list, for this conflict or (the
// capital) for all file conflicts of the run.
struct ConflictKey {
    char key;
    char allKey;
    SyncConflictChoice choice;
};

constexpr ConflictKey kConflictKeys[] = {
    {'p', 'P', SyncConflictChoice::PcOverwritesDevice},
    {'d', 'D', SyncConflictChoice::DeviceOverwritesPc},
    {'n', 'N', SyncConflictChoice::DoNothing},
};

constexpr const char* kConflictKeysExplained =
    "Each conflict is asked about with one key (Enter: the choice in brackets):\n"
    "  p  PC file overwrites Device file     d  Device file overwrites PC file     n  Do Nothing\n"
    "  P, D, N  the same, and for all file conflicts of this run\n"
    "  c  cancel: leave this file as it is    x  abort the synchronisation\n";

const char* EntryText(SyncConflictChoice choice)
{
    for (const trayhost::SyncConflictEntry& entry : trayhost::kConflictEntries) {
        if (entry.choice == choice) return entry.text;
    }
    return "";
}

char KeyOf(SyncConflictChoice choice)
{
    for (const ConflictKey& key : kConflictKeys) {
        if (key.choice == choice) return key.key;
    }
    return kConflictKeys[0].key;
}

// A PC path as its user knows it: the Linux path.
std::string ShownPcPath(const std::string& path)
{
    const std::optional<std::string> linuxPath = platform::ToLinuxPath(path);
    return linuxPath ? TerminalText(*linuxPath) : TerminalText(path);
}

SyncConflictAnswer Decided(SyncConflictChoice choice)
{
    return {trayhost::kIdOk, choice, true};
}

// One keypress, without waiting for Enter; empty at the end of input or when Ctrl-C stops the wait.
std::optional<char> ReadKey()
{
    termios saved{};
    const bool isTerminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (isTerminal) {
        termios raw = saved;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    char key = 0;
    const ssize_t got = read(STDIN_FILENO, &key, 1);
    if (isTerminal) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    if (got != 1) return std::nullopt;
    return key;
}

// Waits for one of the keys; empty when the wait ends without one.
std::optional<char> ReadOneOf(std::string_view keys)
{
    for (;;) {
        const std::optional<char> key = ReadKey();
        if (!key || keys.find(*key) != std::string_view::npos) return key;
    }
}

void Say(const char* text)
{
    std::fprintf(stderr, "%s", text);
    std::fflush(stderr);
}

}  // namespace

int32_t TerminalUserInterface::MessageBox(trayhost::WindowHandle, const std::string& text, const std::string& title,
                                          uint32_t style)
{
    EndProgressLine();
    std::fprintf(stderr, "%s: %s\n", TerminalText(title).c_str(), TerminalText(text).c_str());
    if ((style & trayhost::kMbButtonMask) != trayhost::kMbYesNo) return trayhost::kIdOk;
    return AskYesNo();
}

int32_t TerminalUserInterface::AskYesNo()
{
    if (answerYes_) {
        std::fprintf(stderr, "(yes)\n");
        return trayhost::kIdYes;
    }
    if (dryRun_) {
        std::fprintf(stderr, "(the run would ask this; the dry run goes on as after a yes)\n");
        return trayhost::kIdYes;
    }
    if (!::isatty(STDIN_FILENO)) {
        const std::string hint = yesFlag_.empty() ? "" : "; " + yesFlag_ + " answers yes";
        std::fprintf(stderr, "(no: there is no terminal to ask%s)\n", hint.c_str());
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

trayhost::FileNotFoundAnswer TerminalUserInterface::AskFileNotFound(const trayhost::FileNotFoundQuestion&)
{
    if (!::isatty(STDIN_FILENO)) return {FileNotFoundChoice::No, std::nullopt};
    if (!keysExplained_) {
        Say(kKeysExplained);
        keysExplained_ = true;
    }
    Say("  remove it? [y,n,a,A,l,L,c] ");
    const std::optional<char> key = ReadOneOf("ynaAlLc");
    for (const KeyAnswer& answer : kKeyAnswers) {
        if (key != answer.key) continue;
        std::fprintf(stderr, "%s\n", answer.said);
        return {answer.choice, answer.applyToAllPlaylists};
    }
    Say("cancelled\n");
    return {FileNotFoundChoice::Cancel, std::nullopt};
}

SyncConflictAnswer TerminalUserInterface::AskSyncConflict(trayhost::WindowHandle,
                                                          const trayhost::SyncConflictQuestion& question)
{
    ConflictPolicy policy = conflicts_;
    if (policy == ConflictPolicy::Ask && !::isatty(STDIN_FILENO)) {
        EndProgressLine();
        if (!std::exchange(toldNoTerminal_, true)) {
            Say("kovahdd: conflicts are skipped: there is no terminal to ask (see --conflicts)\n");
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
    if (!std::exchange(conflictKeysExplained_, true)) Say(kConflictKeysExplained);
    std::fprintf(stderr, "%s: %s\n  PC File:      %s\n  Device File:  %s\n  [p,d,n,P,D,N,c,x; %c] ",
                 trayhost::kConflictTitle, trayhost::kConflictText, ShownPcPath(question.pcFile).c_str(),
                 TerminalText(question.deviceFile).c_str(), KeyOf(question.choice));
    std::fflush(stderr);
    const std::optional<char> key = ReadOneOf("pdnPDNcx\n");
    for (const ConflictKey& choice : kConflictKeys) {
        if (key != choice.key && key != choice.allKey && !(key == '\n' && choice.choice == question.choice)) continue;
        const bool toAll = key == choice.allKey;
        std::fprintf(stderr, "%s%s\n", EntryText(choice.choice), toAll ? ", for all file conflicts" : "");
        return {trayhost::kIdOk, choice.choice, toAll};
    }
    if (key == 'c') {
        Say("left as it is\n");
        return {trayhost::kIdCancel};
    }
    Say("aborted\n");
    return {trayhost::kIdAbort};
}

void TerminalUserInterface::EndProgressLine()
{
    if (display_) display_->Finish();
}

std::string TerminalText(std::string_view text)
{
    return platform::CodePage::System().ToUtf8(trayhost::CaretNotation(text));
}

}  // namespace cli
