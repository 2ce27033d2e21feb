#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A program started by a test, its standard error (and standard output, when a file is named for
// it) kept in files; killed if the test leaves it running.
class ChildProcess {
public:
    // The environment is the test's own with the given variables set; an empty value removes one.
    ChildProcess(const std::vector<std::string>& command, const std::map<std::string, std::string>& environment,
                 const std::string& errorFile, const std::string& outputFile = {});
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // The exit code once the program has ended within the timeout (128 + the signal when a signal
    // ended it); empty while it runs.
    std::optional<int> WaitForExit(std::chrono::steady_clock::duration timeout);

    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
};

}  // namespace testsupport
