#pragma once

#include "platform/messages.h"
#include "trayhost/libraryprofilerengine.h"
#include "trayhost/profilerengine.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace trayhost {

// An engine that follows a script. A profile run makes the scripted reports through the callback
// (code 7 is posted to the window with the scan counters, as the engine does), then returns the
// scripted result, or holds until the test finishes it or, when it stops on cancel, until a cancel
// (-1). A held run returns by itself after ten seconds, so that a failing test cannot hang. Device
// presence and file extensions are the library's answers unless the test scripts the presence.
class ScriptedEngine : public ProfilerEngine {
public:
    struct Report {
        int32_t code;
        int32_t value = 0;
    };

    // The script; set before the run starts.
    std::vector<Report> reports;
    std::array<int32_t, 2> scanCounters{0, 0};  // visited, total: what code 7 points to
    int32_t result = 1;
    bool holds = false;
    bool stopsOnCancel = true;
    bool throws = false;
    int32_t helpResult = kUpdateDone;
    int32_t systemResult = kUpdateDone;
    KovaRunSummary summary{};

    // Asked at every presence check, on the checking thread; a device that goes away answers false.
    std::function<bool(const std::string& root)> devicePresent;

    int32_t Synchronize(char driveLetter, KovaProgressCallback callback, void* window) override
    {
        {
            std::lock_guard lock(mutex_);
            runs_.push_back({driveLetter, window});
        }
        for (const Report& report : reports) {
            if (report.code == kReportScanProgress) {
                platform::PostMessage(window, kProfileProgressMessage, kReportScanProgress,
                                      reinterpret_cast<intptr_t>(scanCounters.data()));
            } else {
                callback(report.code, report.value);
            }
        }
        if (throws) throw std::runtime_error("engine failure");
        std::unique_lock lock(mutex_);
        running_ = true;
        changed_.notify_all();
        if (holds) changed_.wait_for(lock, std::chrono::seconds(10), [this] { return finished_.has_value(); });
        running_ = false;
        return finished_.value_or(result);
    }

    void CancelSynchronize() override
    {
        std::lock_guard lock(mutex_);
        ++cancels_;
        if (stopsOnCancel && running_) finished_ = kProfileRunCancelled;
        changed_.notify_all();
    }

    int32_t UpdateHelpFiles(char driveLetter) override
    {
        std::lock_guard lock(mutex_);
        updates_.push_back("help " + std::string(1, driveLetter));
        return helpResult;
    }

    int32_t UpdateSystemFiles(char driveLetter, uint8_t model) override
    {
        std::lock_guard lock(mutex_);
        updates_.push_back("system " + std::string(1, driveLetter) + " " + std::to_string(model));
        return systemResult;
    }

    KovaRunSummary RunSummary() override { return summary; }

    bool IsDevicePresent(const std::string& root) override
    {
        return devicePresent ? devicePresent(root) : library_.IsDevicePresent(root);
    }

    std::optional<std::string> GetFileExtension(const std::string& path) override
    {
        return library_.GetFileExtension(path);
    }

    // Ends a held run with this result.
    void Finish(int32_t runResult)
    {
        std::lock_guard lock(mutex_);
        finished_ = runResult;
        changed_.notify_all();
    }

    // Waits (at most five seconds) until a run has made its reports and returns or holds.
    bool WaitUntilRunning()
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [this] { return running_; });
    }

    int cancels() const
    {
        std::lock_guard lock(mutex_);
        return cancels_;
    }
    std::vector<std::pair<char, void*>> runs() const
    {
        std::lock_guard lock(mutex_);
        return runs_;
    }
    std::vector<std::string> updates() const
    {
        std::lock_guard lock(mutex_);
        return updates_;
    }

private:
    LibraryProfilerEngine library_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool running_ = false;
    std::optional<int32_t> finished_;
    int cancels_ = 0;
    std::vector<std::pair<char, void*>> runs_;
    std::vector<std::string> updates_;
};

}  // namespace trayhost
