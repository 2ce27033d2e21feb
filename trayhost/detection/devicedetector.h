#pragma once

#include "trayhost/detection/detectionplatform.h"
#include "trayhost/detection/kovadetection.h"
#include "trayhost/detection/registrylookup.h"
#include "trayhost/ui/userinterface.h"

#include <cstdint>
#include <ostream>

namespace trayhost {

// Walks the drive letters C: to Z:, asks every removable drive who it is by the method of the
// operating system, and reports each jukebox found. Diagnostic trace lines of the control-channel
// inquiry go to the trace stream (standard output in the program).
//
// Keeps the registry device map between calls: calls must not overlap.
class DeviceDetector {
public:
    DeviceDetector(DetectionPlatform& platform, std::ostream& trace)
        : platform_(platform), trace_(trace), registry_(platform)
    {
    }

    // Used by the Device Conflict dialog; see RegistryLookup::SetUserInterface for none.
    void SetUserInterface(UserInterface* userInterface) { registry_.SetUserInterface(userInterface); }

    // Calls the callback (when given) once per device, in ascending drive-letter order, before
    // returning; returns the number of devices, 0 on an operating system without a method.
    int32_t EnumDevices(KovaDetectionCallback callback, int32_t userData);

    const RegistryDeviceMap& registryMap() const { return registry_.map(); }

private:
    uint8_t Identify(OperatingSystemKind kind, char letter);
    uint8_t IdentifyByControlChannel(char letter);
    uint8_t IdentifyByStorageQuery(char letter);

    DetectionPlatform& platform_;
    std::ostream& trace_;
    RegistryLookup registry_;
};

}  // namespace trayhost
