#include "engine/update/systemfileupdate.h"

#include "engine/update/devicecopy.h"
#include "engine/api/devicefolders.h"
#include "engine/update/installedcopies.h"
#include "engine/update/systemfileheader.h"

#include "platform/codepage.h"
#include "platform/paths.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace engine {

namespace {

constexpr std::array<std::string_view, 4> kSystemFileNames = {"config.exe", "mp3.exe", "usi.exe", "pfr.exe"};
constexpr unsigned char kHdModel = 1;
constexpr std::string_view kHdInstalledFolder = "VANTOR";
constexpr std::string_view kOtherInstalledFolder = "CORVANE";

std::optional<std::string> InstalledSystemFilePath(unsigned char model, const std::string& name)
{
    const std::optional<std::string> folder = InstalledCopiesFolder();
    if (!folder) return std::nullopt;
    const std::string_view modelFolder = model == kHdModel ? kHdInstalledFolder : kOtherInstalledFolder;
    return platform::JoinPath(platform::JoinPath(*folder, std::string(modelFolder)), name);
}

// The header of the file when it can be read whole and names the expected file.
std::optional<SystemFileHeader> HeaderNaming(const std::string& path, const std::string& name)
{
    const std::optional<std::vector<uint8_t>> bytes = ReadFileStart(path, SystemFileHeader::kSize);
    if (!bytes) return std::nullopt;
    std::optional<SystemFileHeader> header = SystemFileHeader::Parse(*bytes);
    if (!header || !platform::EqualsNoCase(header->fileName, name)) return std::nullopt;
    return header;
}

SystemFileOutcome Copy(const std::string& installedPath, const std::string& devicePath)
{
    return ReplaceDeviceCopy(installedPath, devicePath) ? SystemFileOutcome::Copied : SystemFileOutcome::CopyFailed;
}

}  // namespace

SystemFileOutcome UpdateSystemFile(unsigned char model, const std::string& deviceFolder, const std::string& name)
{
    const std::optional<std::string> installedPath = InstalledSystemFilePath(model, name);
    if (!installedPath || !PathExists(*installedPath)) return SystemFileOutcome::Kept;
    // Checked before the device's copy is looked at, so that a foreign or damaged installed file
    // never reaches a device, not even one that lacks the file.
    const std::optional<SystemFileHeader> installed = HeaderNaming(*installedPath, name);
    if (!installed) return SystemFileOutcome::Kept;

    const std::string devicePath = platform::JoinPath(deviceFolder, name);
    if (!PathExists(devicePath)) return Copy(*installedPath, devicePath);
    const std::optional<SystemFileHeader> device = HeaderNaming(devicePath, name);
    if (!device || device->version < installed->version) return Copy(*installedPath, devicePath);
    // A build with another identifier replaces the device's whatever their versions say.
    if (!platform::EqualsNoCase(device->identifier, installed->identifier)) return Copy(*installedPath, devicePath);
    return device->version > installed->version ? SystemFileOutcome::DeviceNewer : SystemFileOutcome::Kept;
}

int32_t UpdateSystemFiles(char drive, unsigned char model)
{
    if (!EnsureDeviceFolder(DeviceUserPlaylistFolder(drive), FolderVisibility::Visible)) return kSystemFolderFailed;
    const std::string systemFolder = DeviceSystemFolder(drive);
    if (!EnsureDeviceFolder(systemFolder, FolderVisibility::Hidden)) return kSystemFolderFailed;

    bool deviceNewer = false;
    bool copyFailed = false;
    for (const std::string_view name : kSystemFileNames) {
        const SystemFileOutcome outcome = UpdateSystemFile(model, systemFolder, std::string(name));
        deviceNewer = deviceNewer || outcome == SystemFileOutcome::DeviceNewer;
        copyFailed = copyFailed || outcome == SystemFileOutcome::CopyFailed;
    }
    if (copyFailed || !FlushDevice(drive)) return kSystemFileCopyFailed;
    return deviceNewer ? kDeviceSystemFilesNewer : kSystemFilesUpdated;
}

}  // namespace engine
