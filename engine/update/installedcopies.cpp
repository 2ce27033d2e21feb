#include "engine/update/installedcopies.h"

#include "platform/codepage.h"
#include "platform/module.h"
#include "platform/paths.h"

#include <cstdlib>
#include <mutex>
#include <string_view>

namespace engine {

namespace {

constexpr std::string_view kEngineLibraryName = "libKOVAHDDProfiler.so";
constexpr std::string_view kInstalledCopiesName = "kovahdd";
constexpr char kInstalledCopiesVariable[] = "KOVAHDD_INSTALLED_FILES";

std::mutex& OverrideMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::optional<std::string>& OverrideFolder()
{
    static std::optional<std::string> folder;
    return folder;
}

std::optional<std::string> OverriddenFolder()
{
    const std::lock_guard lock(OverrideMutex());
    return OverrideFolder();
}

std::optional<std::string> FolderFromVariable()
{
    const char* value = std::getenv(kInstalledCopiesVariable);
    if (!value || *value == '\0') return std::nullopt;
    return std::string(value);
}

// "libKOVAHDDProfiler.so" or a versioned "libKOVAHDDProfiler.so.1", in any case.
bool IsEngineLibraryName(std::string_view fileName)
{
    if (fileName.size() < kEngineLibraryName.size()) return false;
    if (!platform::EqualsNoCase(fileName.substr(0, kEngineLibraryName.size()), kEngineLibraryName)) return false;
    return fileName.size() == kEngineLibraryName.size() || fileName[kEngineLibraryName.size()] == '.';
}

std::optional<std::string> FolderBesideEngine()
{
    return InstalledCopiesFolderBeside(platform::ModulePathOf(reinterpret_cast<const void*>(&InstalledCopiesFolder)));
}

}  // namespace

std::optional<std::string> InstalledCopiesFolderBeside(const std::string& modulePath)
{
    // No slash gives 0: the whole path is the file name.
    const std::size_t nameStart = modulePath.find_last_of('/') + 1;
    if (!IsEngineLibraryName(std::string_view(modulePath).substr(nameStart))) return std::nullopt;
    return modulePath.substr(0, nameStart) + std::string(kInstalledCopiesName);
}

std::optional<std::string> InstalledCopiesFolder()
{
    std::optional<std::string> folder = OverriddenFolder();
    if (!folder) folder = FolderFromVariable();
    if (!folder) folder = FolderBesideEngine();
    if (!folder) return std::nullopt;
    return platform::ToWindowsPath(*folder);
}

void SetInstalledCopiesFolder(std::optional<std::string> linuxDirectory)
{
    const std::lock_guard lock(OverrideMutex());
    OverrideFolder() = std::move(linuxDirectory);
}

}  // namespace engine
