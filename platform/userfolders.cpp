#include "platform/userfolders.h"

#include "platform/errors.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr char kProgramFolder[] = "/kovahdd";
constexpr mode_t kPrivateFolderMode = 0700;

// An absolute path from the variable, else HOME followed by the default; a relative value is
// invalid and ignored, as the XDG rules require.
std::string BaseFolder(const char* variable, const char* defaultBelowHome)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return std::string(home) + defaultBelowHome;
}

std::string ProgramFolderIn(const std::string& base)
{
    return base.empty() ? base : base + kProgramFolder;
}

}  // namespace

std::string UserConfigFolder()
{
    return ProgramFolderIn(BaseFolder("XDG_CONFIG_HOME", "/.config"));
}

std::string UserStateFolder()
{
    return ProgramFolderIn(BaseFolder("XDG_STATE_HOME", "/.local/state"));
}

std::string UserCacheFolder()
{
    return ProgramFolderIn(BaseFolder("XDG_CACHE_HOME", "/.cache"));
}

bool CreateUserFolder(const std::string& folder)
{
    if (folder.empty()) {
        SetLastError(kErrorPathNotFound);
        return false;
    }
    const auto make = [&folder] { return ::mkdir(folder.c_str(), kPrivateFolderMode) == 0 || errno == EEXIST; };
    if (make()) return true;
    if (errno == ENOENT) {
        const std::size_t slash = folder.find_last_of('/');
        if (slash != std::string::npos && slash > 0 && CreateUserFolder(folder.substr(0, slash)) && make()) return true;
    }
    SetLastError(ErrorFromErrno(errno));
    return false;
}

}  // namespace platform
