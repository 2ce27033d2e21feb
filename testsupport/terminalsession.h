#pragma once

#include <chrono>
#include <string>

namespace testsupport {

// What a program run on a terminal wrote there, and how it ended.
struct TerminalOutcome {
    std::string output;    // standard output and standard error as the terminal showed them, lines ending in "\n"
    int exitStatus = -1;   // -1 when it did not end by itself within the time given
};

// Runs a shell command on a pseudo-terminal of its own, as a person at a terminal runs it: its standard
// input, output and error are the terminal. typed is what the person types, there before the program
// asks. A program still running after the timeout is killed.
TerminalOutcome RunOnTerminal(const std::string& shellCommand, const std::string& typed,
                              std::chrono::seconds timeout = std::chrono::seconds(60));

}  // namespace testsupport
