#pragma once

#include <optional>
#include <string>

namespace testsupport {

// Points XDG_CONFIG_HOME, XDG_STATE_HOME and XDG_CACHE_HOME at fresh temporary folders for the life
// of the object, so that the registry file, the sync state file and the tag caches a test writes,
// and those of the programs it starts, are its own and not the developer's.
class ScopedUserFolders {
public:
    ScopedUserFolders();
    ScopedUserFolders(const ScopedUserFolders&) = delete;
    ScopedUserFolders& operator=(const ScopedUserFolders&) = delete;
    // Restores the variables and removes the folders with everything in them.
    ~ScopedUserFolders();

    const std::string& configHome() const { return configHome_; }
    const std::string& stateHome() const { return stateHome_; }
    const std::string& cacheHome() const { return cacheHome_; }

private:
    std::string root_;
    std::string configHome_;
    std::string stateHome_;
    std::string cacheHome_;
    std::optional<std::string> previousConfigHome_;
    std::optional<std::string> previousStateHome_;
    std::optional<std::string> previousCacheHome_;
};

}  // namespace testsupport
