#include "testsupport/userfolders.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testsupport {

namespace {

std::optional<std::string> Replace(const char* variable, const std::string& value)
{
    std::optional<std::string> previous;
    if (const char* current = std::getenv(variable)) previous = current;
    ::setenv(variable, value.c_str(), 1);
    return previous;
}

void Restore(const char* variable, const std::optional<std::string>& previous)
{
    if (previous) {
        ::setenv(variable, previous->c_str(), 1);
    } else {
        ::unsetenv(variable);
    }
}

}  // namespace

ScopedUserFolders::ScopedUserFolders()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kovahdd-home-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make temporary user folders");
    root_ = pattern;
    configHome_ = root_ + "/config";
    stateHome_ = root_ + "/state";
    cacheHome_ = root_ + "/cache";
    previousConfigHome_ = Replace("XDG_CONFIG_HOME", configHome_);
    previousStateHome_ = Replace("XDG_STATE_HOME", stateHome_);
    previousCacheHome_ = Replace("XDG_CACHE_HOME", cacheHome_);
}

ScopedUserFolders::~ScopedUserFolders()
{
    Restore("XDG_CONFIG_HOME", previousConfigHome_);
    Restore("XDG_STATE_HOME", previousStateHome_);
    Restore("XDG_CACHE_HOME", previousCacheHome_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

}  // namespace testsupport
