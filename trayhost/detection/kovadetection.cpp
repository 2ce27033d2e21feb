#include "trayhost/detection/kovadetection.h"

#include "trayhost/detection/devicedetector.h"
#include "trayhost/detection/linuxdetectionplatform.h"

#include <iostream>

namespace {

// The one place that chooses how this build asks the operating system about drives.
trayhost::DeviceDetector& ProcessDetector()
{
    static trayhost::LinuxDetectionPlatform platform;
    static trayhost::DeviceDetector detector(platform, std::cout);
    return detector;
}

}  // namespace

// The record names the Windows resources of the Device Conflict dialog; here the dialog is drawn
// by the user interface set with SetDetectionUserInterface, so the record is not read.
extern "C" int32_t KOVAHDDDetectionEnumDevices(KovaDetectionCallback callback,
                                               tagKOVAHDCONFLICTDIALOGINFO& /*info*/, int32_t userData)
{
    return ProcessDetector().EnumDevices(callback, userData);
}

namespace trayhost {

void SetDetectionUserInterface(UserInterface* userInterface)
{
    ProcessDetector().SetUserInterface(userInterface);
}

}  // namespace trayhost
