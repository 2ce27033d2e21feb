#pragma once

#include "engine/kovahddprofiler.h"
#include "engine/scan/devicescanner.h"
#include "platform/messages.h"

#include <functional>
#include <vector>

// A window that receives the scan's progress messages on the scanning thread, remembers the counters
// as they were at each message, and can act at a given entry (cancel, change the device, unplug it).
class RecordingWindow : public platform::MessageTarget {
public:
    RecordingWindow() : handle_(platform::RegisterWindow(this)) {}
    ~RecordingWindow() override { platform::UnregisterWindow(handle_); }

    void* handle() const { return handle_; }

    void AtEntry(int32_t visited, std::function<void()> action)
    {
        actionAt_ = visited;
        action_ = std::move(action);
    }

    void Post(const platform::WindowMessage& message) override
    {
        if (message.message != kProfileProgressMessage || message.wParam != kReportScanProgress) return;
        const auto* counters = reinterpret_cast<const engine::ScanCounters*>(message.lParam);
        seen.push_back(*counters);
        if (action_ && counters->visited == actionAt_) action_();
    }

    intptr_t Send(const platform::WindowMessage& message) override
    {
        Post(message);
        return 0;
    }

    std::vector<engine::ScanCounters> seen;

private:
    void* handle_;
    int32_t actionAt_ = 0;
    std::function<void()> action_;
};
