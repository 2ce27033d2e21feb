#pragma once

#include "trayhost/detection/detectionplatform.h"
#include "trayhost/detection/registrydevicemap.h"
#include "trayhost/ui/userinterface.h"

#include <cstdint>

namespace trayhost {

// Identification through the registry's SCSI device enumeration (Windows Me). The enumeration is
// read once per detection run, at the first removable drive, into a device map; drive letters
// registered twice with different models are resolved by asking the user (Device Conflict dialog).
class RegistryLookup {
public:
    explicit RegistryLookup(DetectionPlatform& platform) : platform_(platform) {}

    // Without a user interface no Device Conflict dialog can be shown: the conflict is treated as
    // a dialog that failed to open, so the letter keeps the model registered first.
    void SetUserInterface(UserInterface* userInterface) { userInterface_ = userInterface; }

    // Empties the map and makes the next lookup scan the registry; called by every detection run.
    void Reset();
    // The model registered for this drive; kModelNone when none is.
    uint8_t Lookup(char letter);

    const RegistryDeviceMap& map() const { return map_; }

private:
    bool Scan();
    void ProcessInstances(const RegisteredDevice& device);
    void ResolveConflicts(char letter, uint8_t model);
    DeviceConflictAnswer AskDeviceConflict(char letter);

    DetectionPlatform& platform_;
    UserInterface* userInterface_ = nullptr;
    RegistryDeviceMap map_;
    bool scanPending_ = false;
};

}  // namespace trayhost
