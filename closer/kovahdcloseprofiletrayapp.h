#pragma once

#include <cstdint>

// The tray closer's one export, for programs that need the tray program closed (an installer,
// for instance). Bind it by name from libKOVAHDCLOSEPROFILETRAYAPP.so.

#define KOVACLOSER_API __attribute__((visibility("default")))

// Sends WM_CLOSE to every top-level window titled "KOVAHDTrayApp" (any letter case, whole title),
// waiting until each has handled it and then half a second. Nonzero when every window was examined,
// also when none matched; 0 when the examination was cut short or could not run.
extern "C" KOVACLOSER_API int32_t KovaHDCloseProfileTrayApp();
