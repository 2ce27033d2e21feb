#include "bench/benchtools.h"

#include "testsupport/devicegenerator.h"

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace bench {

std::string PreparedDevice(int audioFiles)
{
    // Named after the generator's version too, so that a changed generator makes a new device.
    const std::string directory = "bench-device-v2-" + std::to_string(audioFiles);
    const std::string marker = directory + ".complete";
    if (!std::filesystem::exists(marker)) {
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        std::printf("Generating %d audio files in %s...\n", audioFiles, directory.c_str());
        testsupport::GenerateDevice(directory, audioFiles);
        std::ofstream(marker) << "done\n";
    }
    return std::filesystem::absolute(directory).string();
}

int64_t BareWalk(const std::string& directory)
{
    DIR* folder = opendir(directory.c_str());
    if (!folder) return 0;
    int64_t entries = 0;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = directory + "/" + name;
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0) continue;
        ++entries;
        if (S_ISDIR(status.st_mode)) entries += BareWalk(path);
    }
    closedir(folder);
    return entries;
}

ChildRun RunInChild(const std::function<int()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int status = work();
        std::fflush(nullptr);
        _exit(status);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status)) std::fprintf(stderr, "the measured child failed\n");
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return {elapsed.count(), seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss / 1024.0};
}

bool DropPageCache()
{
    if (geteuid() != 0) return false;
    sync();
    std::ofstream control("/proc/sys/vm/drop_caches");
    control << "3\n";
    control.flush();
    return control.good();
}

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double MedianOf(const std::vector<ChildRun>& runs, double ChildRun::*measure)
{
    std::vector<double> values;
    for (const ChildRun& run : runs) values.push_back(run.*measure);
    return Median(values);
}

ChildRun MedianRun(const std::vector<ChildRun>& runs)
{
    return {MedianOf(runs, &ChildRun::seconds), MedianOf(runs, &ChildRun::cpuSeconds),
            MedianOf(runs, &ChildRun::peakMiB)};
}

std::vector<double> Ratios(const PairedRuns& runs, double ChildRun::*measure)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < runs.subject.size() && i < runs.reference.size(); ++i) {
        ratios.push_back(runs.subject[i].*measure / runs.reference[i].*measure);
    }
    return ratios;
}

void PrintTable(const char* what, const ChildRun& subject, const char* baseline, const ChildRun& reference,
                double wallRatio, double cpuRatio)
{
    std::printf("%-34s %8s %8s %10s\n", "", "wall s", "cpu s", "peak MiB");
    std::printf("%-34s %8.3f %8.3f %10.1f\n", what, subject.seconds, subject.cpuSeconds, subject.peakMiB);
    std::printf("%-34s %8.3f %8.3f %10.1f\n", baseline, reference.seconds, reference.cpuSeconds, reference.peakMiB);
    std::printf("%-34s %8.2f %8.2f\n", "ratio", wallRatio, cpuRatio);
}

}  // namespace

void PrintComparison(const char* what, const ChildRun& subject, const char* baseline, const ChildRun& reference)
{
    PrintTable(what, subject, baseline, reference, subject.seconds / reference.seconds,
               subject.cpuSeconds / reference.cpuSeconds);
}

void PrintMedians(const char* heading, const char* what, const char* baseline, const PairedRuns& runs)
{
    if (runs.subject.empty() || runs.reference.empty()) return;
    std::printf("%s, median of %zu runs:\n", heading, runs.subject.size());
    PrintTable(what, MedianRun(runs.subject), baseline, MedianRun(runs.reference),
               Median(Ratios(runs, &ChildRun::seconds)), Median(Ratios(runs, &ChildRun::cpuSeconds)));
}

}  // namespace bench
