#pragma once

#include <cstdint>

// Device detection as the tray program exports it: finds the attached jukeboxes, their drive letters
// and models. The tray program is linked with -rdynamic so that other programs can bind it by name.

#define KOVADETECTION_API __attribute__((visibility("default")))

// Device model codes.
enum KovaDeviceModel : uint8_t {
    kModelNone = 0,
    kModelHd = 1,  // "Vantor Kova MP3 Jukebox"
    kModelPj = 2,  // "Corvane Kova Personal Jukebox"
};

// Where the Device Conflict dialog comes from; the tray program passes its own path, no parent,
// template 172, text control 1066 and list control 1065.
struct tagKOVAHDCONFLICTDIALOGINFO {
    char moduleFileName[260];
    void* parentWindow;
    uint32_t dialogTemplateId;  // the low 16 bits are the resource id
    int32_t textControlId;
    int32_t listControlId;
};

// Called once per device, in ascending drive-letter order, on the caller's thread. The result is ignored.
using KovaDetectionCallback = int32_t (*)(char driveLetter, uint8_t model, int32_t userData);

// Returns the number of devices found, whether or not a callback was given (the callback may be
// null). Calls must not overlap: detection keeps its registry device map between them.
extern "C" KOVADETECTION_API int32_t KOVAHDDDetectionEnumDevices(KovaDetectionCallback callback,
                                                                  tagKOVAHDCONFLICTDIALOGINFO& info,
                                                                  int32_t userData);

namespace trayhost {

class UserInterface;

// The user interface that shows the Device Conflict dialog during later enumerations; it must stay
// alive while set. With none set (the default, as in the command-line tool) a conflict cannot be
// asked about and the drive letter keeps the model registered first, as when the dialog fails to open.
KOVADETECTION_API void SetDetectionUserInterface(UserInterface* userInterface);

}  // namespace trayhost
