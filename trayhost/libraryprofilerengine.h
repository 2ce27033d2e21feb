#pragma once

#include "trayhost/profilerengine.h"

namespace trayhost {

// The engine library's exported functions.
class LibraryProfilerEngine : public ProfilerEngine {
public:
    int32_t Synchronize(char driveLetter, KovaProgressCallback callback, void* window) override;
    void CancelSynchronize() override;
    int32_t UpdateHelpFiles(char driveLetter) override;
    int32_t UpdateSystemFiles(char driveLetter, uint8_t model) override;
    KovaRunSummary RunSummary() override;
    bool IsDevicePresent(const std::string& root) override;
    std::optional<std::string> GetFileExtension(const std::string& path) override;
};

}  // namespace trayhost
