#pragma once

#include "trayhost/detection/detectionplatform.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

// A DetectionPlatform whose drives, inquiry answers and registry are set by the test, and which
// records what detection asked.
class FakeDetectionPlatform : public trayhost::DetectionPlatform {
public:
    std::optional<trayhost::WindowsVersion> version = trayhost::WindowsVersion{trayhost::kPlatformWin32Nt, 5, 1};
    std::map<char, trayhost::InquiryReply> removableDrives;  // present removable drives and their answers
    std::optional<std::vector<trayhost::RegisteredDevice>> registry = std::vector<trayhost::RegisteredDevice>{};
    int failingRegistryReads = 0;  // the first reads fail as if the registry could not be read
    std::set<std::string> inaccessibleRoots;

    std::vector<char> inquiries;
    std::vector<std::string> accessibilityChecks;
    int registryReads = 0;
    int refreshes = 0;

    void AddDrive(char letter, std::string vendor, std::string product)
    {
        removableDrives[letter] = {trayhost::InquiryStatus::Answered, 0, std::move(vendor), std::move(product)};
    }

    std::optional<trayhost::WindowsVersion> GetVersion() override { return version; }
    void RefreshDrives() override { ++refreshes; }
    bool IsRemovableDrive(char letter) override { return removableDrives.contains(letter); }

    trayhost::InquiryReply Inquire(char letter) override
    {
        inquiries.push_back(letter);
        return removableDrives.at(letter);
    }

    std::optional<std::vector<trayhost::RegisteredDevice>> RegisteredDevices() override
    {
        ++registryReads;
        if (failingRegistryReads > 0) {
            --failingRegistryReads;
            return std::nullopt;
        }
        return registry;
    }

    bool IsDriveAccessible(const std::string& rootPath) override
    {
        accessibilityChecks.push_back(rootPath);
        return !inaccessibleRoots.contains(rootPath);
    }
};

}  // namespace testsupport
