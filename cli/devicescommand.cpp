#include "cli/commands.h"

#include "platform/drivemap.h"
#include "trayhost/detection/devicemodelnames.h"
#include "trayhost/detection/kovadetection.h"

#include <cstdio>
#include <optional>
#include <string>

namespace cli {

namespace {

// One line per device, tab-separated so that scripts can split it: drive, model, directory.
int32_t PrintDevice(char letter, uint8_t model, int32_t /*userData*/)
{
    const std::optional<platform::DriveEntry> drive = platform::DriveMap::Instance().Find(letter);
    const std::string directory = drive ? drive->directory : std::string();
    const std::string_view name = trayhost::DeviceModelName(model);
    std::printf("%c:\t%.*s\t%s\n", letter, static_cast<int>(name.size()), name.data(), directory.c_str());
    return 0;
}

}  // namespace

int RunDevices(const Arguments& arguments)
{
    if (!arguments.empty()) {
        std::fprintf(stderr, "Usage: kovahdd devices\n");
        return kExitUsage;
    }
    // No user interface is set here: a drive letter registered for both models keeps the first.
    tagKOVAHDCONFLICTDIALOGINFO info{};
    KOVAHDDDetectionEnumDevices(PrintDevice, info, 0);
    return kExitSuccess;
}

}  // namespace cli
