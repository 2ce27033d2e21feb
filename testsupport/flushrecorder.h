#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Stands in for the platform's file-system flush while it lives: records each flush (the Linux
// folder it was asked for) and answers with the code set, without writing anything back. onFlush,
// when set, runs at each flush, so that a test can see what was in place at that moment.
class FlushRecorder {
public:
    FlushRecorder();
    ~FlushRecorder();
    FlushRecorder(const FlushRecorder&) = delete;
    FlushRecorder& operator=(const FlushRecorder&) = delete;

    std::vector<std::string> folders;
    uint32_t answer = 0;  // kErrorSuccess
    std::function<void(const std::string& folder)> onFlush;
};

}  // namespace testsupport
