#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// A generated device of the given number of audio files, kept between runs under the build folder
// (generating it takes longer than the measurements).
std::string PreparedDevice(int audioFiles);

// Lists the tree below the Linux directory with readdir and lstat, as a walk of a device needs;
// returns the number of entries.
int64_t BareWalk(const std::string& directory);

struct ChildRun {
    double seconds = 0;     // wall-clock time
    double cpuSeconds = 0;  // user and system time: steadier on a busy machine
    double peakMiB = 0;
};

// Runs the work in a child process, so that its time and its peak memory are its own.
ChildRun RunInChild(const std::function<int()>& work);

// Writes every dirty page back and empties the page cache, so that the next run reads from the disk.
// False when this process may not (it takes root).
bool DropPageCache();

void PrintComparison(const char* what, const ChildRun& subject, const char* baseline, const ChildRun& reference);

// Runs made in pairs, subject then reference, so that both meet the same load.
struct PairedRuns {
    std::vector<ChildRun> subject;
    std::vector<ChildRun> reference;
};

// The medians of each column and of the pairs' ratios: on a shared machine one run can be far off.
void PrintMedians(const char* heading, const char* what, const char* baseline, const PairedRuns& runs);

}  // namespace bench
