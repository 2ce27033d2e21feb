// Profiles a device through the engine's export and, in the same run, does with bare system calls
// what the profile cannot avoid doing:
//
//   full profile (every song read, --full)   against a bare reader: the tree listed twice, and of
//                                            every audio file the first 1,024 bytes, the rest of a
//                                            larger ID3v2 tag and the last 128 bytes;
//   re-profile of an unchanged device        against a bare walk: every folder listed and every
//   (the tags from the tag cache)            entry's status read, no file opened;
//   re-profile after 100 songs changed       against that walk plus the bare reads of those 100,
//                                            and against those plus the writing of the five
//                                            playlists such a profile must write and flush.
//
// Prints the medians of each and their ratios, and the profile's peak memory: the full profile with
// the device in the page cache, then (as root) everything with the page cache dropped before each
// run, as when a device has just been plugged in.
//
// profilebench [AUDIO_FILES [RUNS]]: a generated device of 9999 files, 5 runs of each unless told.
// profilebench --device DIR --reference 'PROGRAM ARGS' [RUNS]: a full profile of the device in DIR
//     against the reference program run on DIR (its last argument), with the device in the page
//     cache; for a device and a reader made outside the project.

#include "bench/benchtools.h"

#include "engine/kovahddprofiler.h"
#include "platform/drivemap.h"
#include "testsupport/devicetree.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kChangedSongs = 100;

enum class Cache { Hot, Cold };
enum class Tags { ReadEveryFile, FromTagCache };

bool IsAudioName(const std::string& name)
{
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    return extension == ".mp3" || extension == ".wma";
}

std::vector<std::string> AudioFiles(const std::string& device)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(device)) {
        if (entry.is_regular_file() && IsAudioName(entry.path().filename().string())) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
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
    for (const auto& entry : fs::recursive_directory_iterator(device)) {
        if (entry.is_regular_file() && IsAudioName(entry.path().filename().string())) ReadTagBytes(entry.path().string());
    }
    return 0;
}

int Profile(char letter, Tags tags)
{
    KOVAHDDProfilerUseTagCache(tags == Tags::FromTagCache ? 1 : 0);
    const int32_t result = KOVAHDDProfilerSyncronize(letter, nullptr, nullptr);
    if (result == 1) return 0;
    std::printf("profile result %d\n", result);
    return 1;
}

// Runs the program with its arguments and the device as the last one, its output thrown away.
int RunReference(const std::string& reference, const std::string& device)
{
    std::istringstream words(reference);
    std::vector<std::string> arguments{std::istream_iterator<std::string>(words), {}};
    arguments.push_back(device);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int nothing = open("/dev/null", O_WRONLY);
    dup2(nothing, STDOUT_FILENO);
    execvp(argv[0], argv.data());
    std::perror(argv[0]);
    return 127;
}

// One subject run and one reference run per round, each after the page cache was dropped when
// cold; prepare() comes first in every round.
bench::PairedRuns Measure(int runs, Cache cache, const std::function<void()>& prepare,
                          const std::function<int()>& subject, const std::function<int()>& reference)
{
    bench::PairedRuns measured;
    for (int run = 0; run < runs; ++run) {
        prepare();
        if (cache == Cache::Cold) bench::DropPageCache();
        measured.subject.push_back(bench::RunInChild(subject));
        if (cache == Cache::Cold) bench::DropPageCache();
        measured.reference.push_back(bench::RunInChild(reference));
    }
    return measured;
}

// Edits the title of each of the songs for every run, as a tag editor would: the first letter of
// its ID3v2 title changes case, the size stays, the time is new. The tag cache holds none of them
// afterwards, and the playlists change.
class ChangedSongs {
public:
    explicit ChangedSongs(const std::vector<std::string>& audioFiles)
    {
        const std::size_t step = std::max<std::size_t>(1, audioFiles.size() / kChangedSongs);
        for (std::size_t i = 0; i < audioFiles.size() && songs_.size() < kChangedSongs; i += step) {
            songs_.push_back(audioFiles[i]);
        }
    }

    void Change()
    {
        for (const std::string& song : songs_) {
            const fs::file_time_type time = fs::last_write_time(song);
            std::string bytes = testsupport::ReadWholeFile(song);
            const std::size_t frame = bytes.find("TIT2");
            if (frame != std::string::npos && frame + kTitleOffset < bytes.size()) {
                char& letter = bytes[frame + kTitleOffset];
                if (std::isalpha(static_cast<unsigned char>(letter))) letter ^= kCaseBit;
                testsupport::WriteWholeFile(song, bytes);
            }
            fs::last_write_time(song, time + std::chrono::seconds(2));
        }
    }

    int ReadThem() const
    {
        for (const std::string& song : songs_) ReadTagBytes(song);
        return 0;
    }

private:
    static constexpr std::size_t kTitleOffset = 11;  // the frame's header, then its encoding byte
    static constexpr char kCaseBit = 0x20;

    std::vector<std::string> songs_;
};

// What a profile of a changed device must write whatever it does: five playlists of the sizes of
// the device's, each written to a file of its own and flushed before the profile may say it finished.
class PlaylistWrites {
public:
    explicit PlaylistWrites(const std::string& device) : folder_(device + "/kovahdd/sys_playlist") {}

    // The sizes of the playlists the last profile wrote.
    void ReadSizes()
    {
        sizes_.clear();
        for (const auto& entry : fs::directory_iterator(folder_)) {
            if (entry.path().extension() == ".m3u") sizes_.push_back(entry.file_size());
        }
    }

    int Write() const
    {
        const std::string scratch = folder_ + "/bench-write.tmp";
        for (const std::uintmax_t size : sizes_) {
            const std::string bytes(size, '#');
            const int file = open(scratch.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (file < 0) return 1;
            const bool written = write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
            const bool flushed = fsync(file) == 0;
            close(file);
            unlink(scratch.c_str());
            if (!written || !flushed) return 1;
        }
        return 0;
    }

private:
    std::string folder_;
    std::vector<std::uintmax_t> sizes_;
};

void MeasureGeneratedDevice(int audioFiles, int runs)
{
    const std::string device = bench::PreparedDevice(audioFiles);
    const char letter = platform::DriveMap::Instance().AssignFreeLetter(device);
    const auto nothing = [] {};
    const auto fullProfile = [&] { return Profile(letter, Tags::ReadEveryFile); };
    const auto bareRead = [&] { return BareRead(device); };

    bench::RunInChild(fullProfile);  // the same warm cache for both, playlists included
    bench::PrintMedians("hot cache", "full profile", "bare reader", Measure(runs, Cache::Hot, nothing, fullProfile, bareRead));
    if (!bench::DropPageCache()) {
        std::printf("cold cache: skipped (dropping the page cache takes root)\n");
        return;
    }
    bench::PrintMedians("cold cache", "full profile", "bare reader", Measure(runs, Cache::Cold, nothing, fullProfile, bareRead));

    const auto cachedProfile = [&] { return Profile(letter, Tags::FromTagCache); };
    const auto bareWalk = [&] { return bench::BareWalk(device) > 0 ? 0 : 1; };
    bench::PrintMedians("cold cache, unchanged device", "re-profile", "bare walk",
                        Measure(runs, Cache::Cold, nothing, cachedProfile, bareWalk));

    ChangedSongs changed(AudioFiles(device));
    const auto walkAndRead = [&] { return bareWalk() + changed.ReadThem(); };
    bench::PrintMedians("cold cache, 100 songs changed", "re-profile", "bare walk + 100 reads",
                        Measure(runs, Cache::Cold, [&] { changed.Change(); }, cachedProfile, walkAndRead));

    PlaylistWrites playlists(device);
    const auto walkReadAndWrite = [&] { return walkAndRead() + playlists.Write(); };
    const auto changeAndSize = [&] {
        changed.Change();
        playlists.ReadSizes();
    };
    bench::PrintMedians("cold cache, 100 songs changed, the new playlists written in both", "re-profile",
                        "walk + 100 reads + writes",
                        Measure(runs, Cache::Cold, changeAndSize, cachedProfile, walkReadAndWrite));
}

void MeasureGivenDevice(const std::string& directory, const std::string& reference, int runs)
{
    const std::string device = fs::absolute(directory);
    const char letter = platform::DriveMap::Instance().AssignFreeLetter(device);
    const auto fullProfile = [&] { return Profile(letter, Tags::ReadEveryFile); };
    bench::RunInChild(fullProfile);
    bench::PrintMedians("hot cache", "full profile", reference.c_str(),
                        Measure(runs, Cache::Hot, [] {}, fullProfile, [&] { return RunReference(reference, device); }));
}

}  // namespace

int main(int argc, char** argv)
{
    // The tag caches of the benchmark's devices stay beside them.
    setenv("XDG_CACHE_HOME", fs::absolute("bench-cache").c_str(), 1);
    if (argc >= 5 && std::strcmp(argv[1], "--device") == 0 && std::strcmp(argv[3], "--reference") == 0) {
        MeasureGivenDevice(argv[2], argv[4], argc > 5 ? std::max(1, std::atoi(argv[5])) : 5);
        return 0;
    }
    const int audioFiles = argc > 1 ? std::atoi(argv[1]) : 9999;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    MeasureGeneratedDevice(audioFiles, runs);
    return 0;
}
