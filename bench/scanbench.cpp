// Scans a 20,000-file device with the engine and lists the same tree twice with bare system calls,
// in one run, and prints both times and their ratio.

#include "bench/benchtools.h"

#include "engine/catalogue/trackcatalogue.h"
#include "engine/scan/devicescanner.h"
#include "platform/drivemap.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int audioFiles = argc > 1 ? std::atoi(argv[1]) : 20000;
    const std::string device = bench::PreparedDevice(audioFiles);
    const char letter = platform::DriveMap::Instance().AssignFreeLetter(device);
    const std::string root = std::string(1, letter) + ":";

    bench::BareWalk(device);  // the same warm cache for both
    const bench::ChildRun scan = bench::RunInChild([&] {
        engine::TagCache tags;
        const int32_t result = engine::ScanDevice(root.c_str(), nullptr, tags);
        std::printf("scan result %d, %zu tracks\n", result, engine::Catalogue().TrackCount());
        return result == engine::kScanDone ? 0 : 1;
    });
    const bench::ChildRun walk = bench::RunInChild([&] {
        const int64_t entries = bench::BareWalk(device) + bench::BareWalk(device);
        std::printf("bare walk: %lld entries listed\n", static_cast<long long>(entries));
        return 0;
    });
    bench::PrintComparison("engine scan", scan, "bare walk listing the tree twice", walk);
    return 0;
}
