// Profiles a generated device through the engine's export and, in the same run, reads what a profile
// must read with bare system calls: the tree listed twice, and of every audio file the first 1,024
// bytes, the rest of a larger ID3v2 tag, and the last 128 bytes. Prints both, their ratio, and the
// profile's peak memory: first with the device in the page cache, then (as root) with the page
// cache dropped before each run, as when a device has just been plugged in.
//
// profilebench [AUDIO_FILES [RUNS]]: 9999 files and 5 runs of each unless told; medians are printed.

#include "bench/benchtools.h"

#include "engine/kovahddprofiler.h"
#include "platform/drivemap.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

bool IsAudioName(const std::string& name)
{
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    return extension == ".mp3" || extension == ".wma";
}

void ReadTagBytes(const std::string& path)
{
    const int file = open(path.c_str(), O_RDONLY);
    if (file < 0) return;
    std::vector<unsigned char> head(1024);
    const ssize_t got = read(file, head.data(), head.size());
    if (got >= 10 && head[0] == 'I' && head[1] == 'D' && head[2] == '3') {
        const std::size_t tagSize = (head[6] << 21) | (head[7] << 14) | (head[8] << 7) | head[9];
        if (tagSize + 10 > static_cast<std::size_t>(got)) {
            std::vector<unsigned char> rest(tagSize + 10 - got);
            if (read(file, rest.data(), rest.size()) < 0) rest.clear();
        }
    }
    unsigned char tail[128];
    if (lseek(file, -128, SEEK_END) >= 0 && read(file, tail, sizeof tail) < 0) tail[0] = 0;
    close(file);
}

int BareRead(const std::string& device)
{
    bench::BareWalk(device);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(device)) {
        if (entry.is_regular_file() && IsAudioName(entry.path().filename().string())) ReadTagBytes(entry.path().string());
    }
    return 0;
}

int Profile(char letter)
{
    const int32_t result = KOVAHDDProfilerSyncronize(letter, nullptr, nullptr);
    if (result == 1) return 0;
    std::printf("profile result %d\n", result);
    return 1;
}

enum class Cache { Hot, Cold };

bench::PairedRuns Measure(const std::string& device, char letter, int runs, Cache cache)
{
    bench::PairedRuns measured;
    for (int run = 0; run < runs; ++run) {
        if (cache == Cache::Cold) bench::DropPageCache();
        measured.subject.push_back(bench::RunInChild([&] { return Profile(letter); }));
        if (cache == Cache::Cold) bench::DropPageCache();
        measured.reference.push_back(bench::RunInChild([&] { return BareRead(device); }));
    }
    return measured;
}

}  // namespace

int main(int argc, char** argv)
{
    const int audioFiles = argc > 1 ? std::atoi(argv[1]) : 9999;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::string device = bench::PreparedDevice(audioFiles);
    const char letter = platform::DriveMap::Instance().AssignFreeLetter(device);

    bench::RunInChild([&] { return Profile(letter); });  // the same warm cache for both, playlists included
    bench::PrintMedians("hot cache", "profile", "bare reader", Measure(device, letter, runs, Cache::Hot));
    if (!bench::DropPageCache()) {
        std::printf("cold cache: skipped (dropping the page cache takes root)\n");
        return 0;
    }
    bench::PrintMedians("cold cache", "profile", "bare reader", Measure(device, letter, runs, Cache::Cold));
    return 0;
}
