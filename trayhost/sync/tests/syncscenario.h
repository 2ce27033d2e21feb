#pragma once

#include "testsupport/devicetree.h"
#include "testsupport/scripteduserinterface.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/sync/disksyncfilesystem.h"
#include "trayhost/sync/syncrun.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace trayhost {

// Records what a run shows: the notices in order and the actions. onNotice, when set, runs at each
// notice, so that a test can change the world in the middle of a run.
class RecordingView : public SyncRunView {
public:
    void Notice(SyncNotice notice, const SyncCounts& counts) override
    {
        notices.push_back(notice);
        lastCounts = counts;
        if (onNotice) onNotice(notice);
    }
    void Performed(const SyncAction& action) override { actions.push_back(action); }
    // Forgets what was recorded; the hook stays.
    void Clear()
    {
        notices.clear();
        actions.clear();
        closes = 0;
    }
    WindowHandle owner() const override { return reinterpret_cast<WindowHandle>(0x160); }
    void Close() override { ++closes; }

    std::vector<SyncNotice> notices;
    SyncCounts lastCounts;
    std::vector<SyncAction> actions;
    int closes = 0;
    std::function<void(SyncNotice)> onNotice;
};

// Every file and folder below a Linux directory, by relative path: a file's content, "<dir>" for a
// folder, "-> target" for a link.
inline std::map<std::string, std::string> TreeOf(const std::string& directory)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> tree;
    for (auto it = fs::recursive_directory_iterator(directory); it != fs::recursive_directory_iterator(); ++it) {
        const std::string relative = it->path().lexically_relative(directory).string();
        if (it->is_symlink()) {
            tree[relative] = "-> " + fs::read_symlink(it->path()).string();
            it.disable_recursion_pending();
        } else if (it->is_directory()) {
            tree[relative] = "<dir>";
        } else {
            tree[relative] = testsupport::ReadWholeFile(it->path().string());
        }
    }
    return tree;
}

inline void SetModTime(const std::string& linuxPath, int64_t seconds)
{
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    utimensat(AT_FDCWD, linuxPath.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// A PC drive P: and a device drive E:, a profile over them, and a run with a scripted person.
class SyncScenario {
public:
    static constexpr int64_t kTime = 1'600'000'000;  // an even second, as FAT keeps them

    SyncScenario() { settings.deviceLetter = device.letter(); }
    // The device a tmpfs of this size (see TemporaryDevice::IsSizeLimited).
    explicit SyncScenario(std::size_t deviceSize) : device('E', deviceSize) { settings.deviceLetter = device.letter(); }

    // A file with its content and last-write time.
    static void Write(const testsupport::TemporaryDevice& drive, const std::string& relative, const std::string& bytes,
                      int64_t time = kTime)
    {
        drive.WriteFile(relative, bytes);
        SetModTime(drive.LinuxPath(relative), time);
    }

    void AddItem(const std::string& pcPath, const std::string& devicePath)
    {
        SyncItem& item = settings.items.emplace_back();
        item.pcPath = pcPath;
        item.devicePath = devicePath;
    }

    // One run over every item, as the worker runs it after the profile was loaded: the item maps
    // start empty, and stateMap holds what the last run left in it.
    SyncRun& Run(SyncFileSystem* through = nullptr)
    {
        for (SyncItem& item : settings.items) {
            item.pcFiles.Clear();
            item.deviceFiles.Clear();
        }
        view.Clear();
        disk = std::make_unique<DiskSyncFileSystem>(cancel);
        run = std::make_unique<SyncRun>(SyncRun::Collaborators{settings, through ? *through : *disk, view, ui,
                                                               cancel, conflicts, engine});
        run->SynchronizeItems();
        return *run;
    }

    testsupport::TemporaryDevice pc{'P'};
    testsupport::TemporaryDevice device{'E'};
    SyncSettings settings;
    testsupport::ScriptedUserInterface ui;
    RecordingView view;
    std::atomic<int32_t> cancel{0};
    SyncConflictMemory conflicts;
    LibraryProfilerEngine engine;
    std::unique_ptr<DiskSyncFileSystem> disk;
    std::unique_ptr<SyncRun> run;
};

}  // namespace trayhost
