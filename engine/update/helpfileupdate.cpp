#include "engine/update/helpfileupdate.h"

#include "engine/resources/strings.h"
#include "engine/update/devicecopy.h"
#include "engine/api/devicefolders.h"
#include "engine/update/helpfileheader.h"
#include "engine/update/installedcopies.h"

#include "platform/files.h"
#include "platform/paths.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace engine {

namespace {

constexpr std::array<int, 3> kHelpFileStringIds = {301, 302, 303};
constexpr std::string_view kHelpFileSuffix = "_help.bin";

enum class HeaderState { Missing, Short, Invalid, Valid };

HeaderState HelpHeaderOf(const std::string& path)
{
    const std::optional<std::vector<uint8_t>> bytes = ReadFileStart(path, kHelpFileHeaderSize);
    if (!bytes) return HeaderState::Missing;
    if (bytes->size() < kHelpFileHeaderSize) return HeaderState::Short;
    return IsValidHelpFileHeader(*bytes) ? HeaderState::Valid : HeaderState::Invalid;
}

// The same second counts as not newer, so a file copied before (which keeps its time) is copied again.
bool DeviceCopyIsNewer(const std::string& installedPath, const std::string& devicePath)
{
    const std::optional<int64_t> installedTime = platform::GetLastWriteTime(installedPath);
    const std::optional<int64_t> deviceTime = platform::GetLastWriteTime(devicePath);
    return installedTime && deviceTime && *deviceTime > *installedTime;
}

int32_t Copy(const std::string& installedPath, const std::string& devicePath)
{
    return ReplaceDeviceCopy(installedPath, devicePath) ? kHelpFilesUpdated : kHelpFileFailed;
}

}  // namespace

int32_t UpdateHelpFile(const std::string& deviceFolder, const std::string& name)
{
    const std::optional<std::string> installedFolder = InstalledCopiesFolder();
    if (!installedFolder) return kHelpFileFailed;
    const std::string installedPath = platform::JoinPath(platform::JoinPath(*installedFolder, std::string(kHelpFolderName)), name);
    if (!PathExists(installedPath)) return kHelpFileFailed;
    // Checked before the device's copy is looked at, so that a damaged installed file never reaches
    // a device, not even one that lacks the file.
    switch (HelpHeaderOf(installedPath)) {
    case HeaderState::Missing:
    case HeaderState::Short:
        return kHelpFileFailed;
    case HeaderState::Invalid:
        return kHelpFilesUpdated;
    case HeaderState::Valid:
        break;
    }

    const std::string devicePath = platform::JoinPath(deviceFolder, name);
    if (!PathExists(devicePath)) return Copy(installedPath, devicePath);
    // A device copy too short for a header is as damaged as one with a wrong header: replace it.
    if (HelpHeaderOf(devicePath) != HeaderState::Valid) return Copy(installedPath, devicePath);
    return DeviceCopyIsNewer(installedPath, devicePath) ? kHelpFilesUpdated : Copy(installedPath, devicePath);
}

int32_t UpdateHelpFiles(char drive)
{
    const std::string systemFolder = DeviceSystemFolder(drive);
    if (!EnsureDeviceFolder(systemFolder, FolderVisibility::Hidden)) return kHelpDeviceFolderFailed;
    const std::string helpFolder = platform::JoinPath(systemFolder, std::string(kHelpFolderName));
    if (!EnsureDeviceFolder(helpFolder, FolderVisibility::Visible)) return kHelpFileFailed;

    int32_t result = kHelpFilesUpdated;
    for (const int id : kHelpFileStringIds) {
        const std::string_view baseName = LoadEngineString(id);
        if (baseName.empty()) continue;
        if (UpdateHelpFile(helpFolder, std::string(baseName) + std::string(kHelpFileSuffix)) == kHelpFileFailed) {
            result = kHelpFileFailed;
        }
    }
    return FlushDevice(drive) ? result : kHelpFileFailed;
}

}  // namespace engine
