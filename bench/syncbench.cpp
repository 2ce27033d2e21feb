// Synchronises a generated PC tree of 2,000 files (about 5 MB in nested folders) to a device folder
// on tmpfs, PC to device, and in the same run: the first sync against `cp -a` of the same tree, and
// the unchanged second sync against `rsync -a` over a pair already in step (skipped with a message
// when rsync is not installed). Each sync is a whole run as the tray program makes it: the state of
// the last run read, every item synchronised, the new state written. Each measurement is the best
// of a few rounds, as a shared machine disturbs single ones.

#include "bench/benchtools.h"

#include "platform/drivemap.h"
#include "testsupport/devicetree.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/sync/disksyncfilesystem.h"
#include "trayhost/sync/syncrun.h"
#include "trayhost/sync/syncstate.h"

#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kArtists = 20;
constexpr int kAlbumsPerArtist = 5;
constexpr int kTracksPerAlbum = 20;  // 2,000 files
constexpr std::size_t kSmallestFile = 500;
constexpr std::size_t kLargestFile = 4500;  // about 2.5 KB a file, 5 MB in all
constexpr std::size_t kTmpfsSize = 256 * 1024 * 1024;
constexpr int kRounds = 7;

// The run's view of a benchmark: nobody watches.
class NoView : public trayhost::SyncRunView {
public:
    void Notice(trayhost::SyncNotice, const trayhost::SyncCounts&) override {}
    void Performed(const trayhost::SyncAction&) override {}
    trayhost::WindowHandle owner() const override { return nullptr; }
    void Close() override {}
};

// Nobody answers either: a PC-to-device run asks nothing.
class NoUserInterface : public trayhost::UserInterface {
public:
    int32_t MessageBox(trayhost::WindowHandle, const std::string&, const std::string&, uint32_t) override
    {
        return trayhost::kIdOk;
    }
    void MessageBeep(uint32_t) override {}
    trayhost::DeviceConflictAnswer AskDeviceConflict(const trayhost::DeviceConflictQuestion&) override { return {}; }
    trayhost::FileNotFoundAnswer AskFileNotFound(const trayhost::FileNotFoundQuestion&) override { return {}; }
    trayhost::SyncConflictAnswer AskSyncConflict(trayhost::WindowHandle, const trayhost::SyncConflictQuestion&) override
    {
        return {};
    }
};

void GenerateTree(const fs::path& root)
{
    std::mt19937 random(2000);
    std::uniform_int_distribution<std::size_t> size(kSmallestFile, kLargestFile);
    for (int artist = 0; artist < kArtists; ++artist) {
        for (int album = 0; album < kAlbumsPerArtist; ++album) {
            const fs::path folder = root / ("Artist " + std::to_string(artist)) / ("Album " + std::to_string(album));
            fs::create_directories(folder);
            for (int track = 0; track < kTracksPerAlbum; ++track) {
                const std::string bytes(size(random), static_cast<char>('a' + track % 26));
                testsupport::WriteWholeFile((folder / ("Track " + std::to_string(track) + ".mp3")).string(), bytes);
            }
        }
    }
}

// One run of the profile P:\Music to E:\Music; 0 when it completed.
int Synchronize()
{
    trayhost::SyncSettings settings;
    settings.option = trayhost::SyncOption::PcToDevice;
    settings.deviceLetter = 'E';
    settings.items.push_back({{}, {}, "P:\\Music", "E:\\Music"});
    std::atomic<int32_t> cancel{0};
    trayhost::DiskSyncFileSystem files(cancel);
    NoView view;
    NoUserInterface ui;
    trayhost::SyncConflictMemory conflicts;
    trayhost::ReadSyncState(settings);
    trayhost::LibraryProfilerEngine engine;
    trayhost::SyncRun run({settings, files, view, ui, cancel, conflicts, engine});
    if (!run.SynchronizeItems() || run.outcome() != trayhost::SyncOutcome::Completed) return 1;
    trayhost::WriteSyncState(settings);
    return 0;
}

int Execute(const std::vector<std::string>& command)
{
    std::vector<char*> arguments;
    for (const std::string& argument : command) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    execvp(arguments[0], arguments.data());
    return 127;
}

bench::ChildRun Best(const bench::ChildRun& a, const bench::ChildRun& b)
{
    return {std::min(a.seconds, b.seconds), std::min(a.cpuSeconds, b.cpuSeconds), std::max(a.peakMiB, b.peakMiB)};
}

bool IsOnTmpfs(const std::string& path)
{
    struct statfs volume {};
    return statfs(path.c_str(), &volume) == 0 && volume.f_type == TMPFS_MAGIC;
}

}  // namespace

int main()
{
    // A tmpfs of its own when the benchmark may mount one, else the shared one.
    testsupport::TemporaryDevice work('W', kTmpfsSize);
    fs::path base = work.directory();
    if (!work.IsSizeLimited()) {
        base = fs::path("/dev/shm") / ("kovasyncbench-" + std::to_string(getpid()));
        fs::create_directories(base);
    }
    if (!IsOnTmpfs(base.string())) std::printf("note: %s is not on tmpfs\n", base.c_str());
    const fs::path pc = base / "pc";
    const fs::path device = base / "device";
    const fs::path copy = base / "copy";
    GenerateTree(pc / "Music");
    fs::create_directories(device);
    setenv("XDG_STATE_HOME", (base / "state").c_str(), 1);
    platform::DriveMap& drives = platform::DriveMap::Instance();
    drives.Assign({.letter = 'P', .directory = pc.string(), .removable = false, .vendor = {}, .product = {}, .volume = {}});
    drives.Assign({.letter = 'E', .directory = device.string(), .removable = true, .vendor = {}, .product = {}, .volume = {}});

    const bool withRsync = std::system("command -v rsync >/dev/null 2>&1") == 0;
    bench::ChildRun firstSync{1e9, 1e9, 0};
    bench::ChildRun cp = firstSync;
    bench::ChildRun secondSync = firstSync;
    bench::ChildRun rsync = firstSync;
    for (int round = 0; round < kRounds; ++round) {
        for (const fs::path& made : {device / "Music", base / "state", copy}) fs::remove_all(made);
        firstSync = Best(firstSync, bench::RunInChild(Synchronize));
        cp = Best(cp, bench::RunInChild([&] { return Execute({"cp", "-a", pc.string(), copy.string()}); }));
        secondSync = Best(secondSync, bench::RunInChild(Synchronize));
        // rsync over a pair already in step: the copy cp made, the same in every byte and time.
        if (withRsync) {
            rsync = Best(rsync, bench::RunInChild([&] {
                             return Execute({"rsync", "-a", pc.string() + "/", copy.string() + "/"});
                         }));
        }
    }
    bench::PrintComparison("first sync, 2,000 files", firstSync, "cp -a", cp);
    std::printf("\n");
    if (withRsync) {
        bench::PrintComparison("unchanged sync", secondSync, "rsync -a, nothing to do", rsync);
    } else {
        std::printf("rsync is not installed: the unchanged sync is not compared.\n");
    }
    if (!work.IsSizeLimited()) fs::remove_all(base);
    return 0;
}
