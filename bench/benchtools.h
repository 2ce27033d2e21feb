#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

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

void PrintComparison(const char* what, const ChildRun& subject, const char* baseline, const ChildRun& reference);

}  // namespace bench
