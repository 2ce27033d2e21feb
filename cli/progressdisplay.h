#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace cli {

// Shows the status of a long job on standard error: a redrawn progress bar on a terminal, plain
// lines otherwise (a log or a pipe gets a line per status and one per tenth of the work).
class ProgressDisplay {
public:
    explicit ProgressDisplay(std::FILE* out);
    ~ProgressDisplay();

    void ShowStatus(const std::string& text);
    void ShowProgress(int32_t done, int32_t total, const std::string& text);
    // Whether ShowProgress would show anything for these counts: a caller whose text costs
    // something to make asks first (a scan reports every entry of the device).
    bool IsDue(int32_t done, int32_t total) const;
    // Ends a bar that is being redrawn, so that the next output starts on a line of its own.
    void Finish();

private:
    static int Tenth(int32_t done, int32_t total) { return static_cast<int>(int64_t{done} * 10 / total); }
    static int Permille(int32_t done, int32_t total) { return static_cast<int>(int64_t{done} * 1000 / total); }
    void DrawBar(int32_t done, int32_t total, const std::string& text);

    std::FILE* out_;
    bool terminal_;
    bool barShown_ = false;
    int32_t lastDone_ = 0;  // a smaller count starts another series
    int lastTenth_ = -1;
    int lastPermille_ = -1;
};

}  // namespace cli
