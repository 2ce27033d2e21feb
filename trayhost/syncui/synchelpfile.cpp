#include "trayhost/syncui/synchelpfile.h"

#include "platform/codepage.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace trayhost {

namespace {

constexpr const char* kInstalledHelpFolder = "../share/kovahdd";

}  // namespace

std::optional<std::string> SyncOptionsHelpPath(const std::string& executablePath)
{
    const std::filesystem::path program(executablePath);
    if (!platform::EqualsNoCase(program.filename().string(), kTrayProgramFileName)) return std::nullopt;
    const std::filesystem::path folder = program.parent_path();
    const std::filesystem::path installed = folder / kInstalledHelpFolder / kSyncOptionsHelpFileName;
    std::error_code error;
    if (std::filesystem::exists(installed, error)) return installed.lexically_normal().string();
    return (folder / kSyncOptionsHelpFileName).string();
}

RtfDocument LoadSyncOptionsHelp(const std::string& helpPath)
{
    std::ifstream file(helpPath, std::ios::binary | std::ios::ate);
    if (!file) return {};
    const std::streamoff size = std::clamp<std::streamoff>(file.tellg(), 0, kMaxSyncOptionsHelpBytes);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return ReadRtf(bytes);
}

}  // namespace trayhost
