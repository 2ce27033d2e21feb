#include "trayhost/profile/profilestatus.h"

#include "engine/kovahddprofiler.h"

#include <cstdio>

namespace trayhost {

namespace {

std::string ScanProgressText(intptr_t countersAddress)
{
    const auto* counters = reinterpret_cast<const int32_t*>(countersAddress);
    if (!counters) return "Acquiring device contents...";
    char text[96];
    std::snprintf(text, sizeof text, "Acquiring device contents (%d of %d)...", counters[0], counters[1]);
    return text;
}

}  // namespace

std::optional<std::string> ProfileStatusText(int32_t code, intptr_t value)
{
    switch (code) {
    case kReportScanStarted:
        return "Scanning device...";
    case kReportPlaylistsStarted:
        return "Initializing system playlists...";
    case kReportProfileFinished:
        return "Profiling finished.";
    case kReportProfileCancelled:
        return "Profile Canceled.  This may take a few seconds...";
    case kReportNoAudioFiles:
        return "Profile aborted.  No audio files on device to profile.";
    case kReportConnectionFailed:
        return "Profile aborted.  The device connection failed.";
    case kReportScanProgress:
        return ScanProgressText(value);
    case kReportDeviceLost:
        return "Profile aborted.  The device is no longer connected to the system and/or is not working "
               "properly.";
    default:
        return std::nullopt;
    }
}

std::string ProfileStatusLine(const std::string& statusText)
{
    return "Status:  " + statusText;
}

}  // namespace trayhost
