#include "testsupport/terminalsession.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace testsupport {

namespace {

constexpr std::size_t kReadSize = 4096;

// The terminal ends its lines with CR LF.
std::string WithLineFeeds(const std::string& text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') continue;
        out += text[at];
    }
    return out;
}

// Everything the terminal shows until the program and its children have let it go; false when the
// deadline came first.
bool ReadUntilClosed(int terminal, std::chrono::steady_clock::time_point deadline, std::string& output)
{
    char buffer[kReadSize];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) return false;
        if (ready.revents == 0) continue;
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got > 0) {
            output.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            return true;  // EIO once no one holds the other end
        }
    }
}

}  // namespace

TerminalOutcome RunOnTerminal(const std::string& shellCommand, const std::string& typed, std::chrono::seconds timeout)
{
    TerminalOutcome outcome;
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid < 0) return outcome;
    if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", shellCommand.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (!typed.empty() && ::write(terminal, typed.data(), typed.size()) < 0) ::kill(pid, SIGKILL);
    std::string shown;
    const bool closed = ReadUntilClosed(terminal, std::chrono::steady_clock::now() + timeout, shown);
    if (!closed) ::kill(pid, SIGKILL);
    ::close(terminal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (closed && WIFEXITED(status)) outcome.exitStatus = WEXITSTATUS(status);
    outcome.output = WithLineFeeds(shown);
    return outcome;
}

}  // namespace testsupport
