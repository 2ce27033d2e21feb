#pragma once

#include "trayhost/detection/kovadetection.h"

#include <cstdint>
#include <vector>

namespace testsupport {

struct DeviceReport {
    char letter;
    uint8_t model;
    int32_t userData;
    bool operator==(const DeviceReport&) const = default;
};

// Collects what detection reports through its plain function callback while the object lives.
class ReportRecorder {
public:
    ReportRecorder() { current_ = this; }
    ~ReportRecorder() { current_ = nullptr; }
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    static int32_t Callback(char letter, uint8_t model, int32_t userData)
    {
        current_->reports.push_back({letter, model, userData});
        return 0;
    }

    std::vector<DeviceReport> reports;

private:
    static inline ReportRecorder* current_ = nullptr;
};

}  // namespace testsupport
