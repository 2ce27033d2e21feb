#pragma once

#include <optional>
#include <string>

namespace testsupport {

// Points XDG_CONFIG_HOME and XDG_STATE_HOME at fresh temporary folders for the life of the object,
// so that the registry file and the sync state file a test writes, and those of the programs it
// starts, are its own and not the developer's.
class ScopedUserFolders {
public:
    ScopedUserFolders();
    ScopedUserFolders(const ScopedUserFolders&) = delete;
    ScopedUserFolders& operator=(const ScopedUserFolders&) = delete;
    // Restores the variables and removes the folders with everything in them.
    ~ScopedUserFolders();

    const std::string& configHome() const { return configHome_; }
    const std::string& stateHome() const { return stateHome_; }

private:
    std::string root_;
    std::string configHome_;
    std::string stateHome_;
    std::optional<std::string> previousConfigHome_;
    std::optional<std::string> previousStateHome_;
};

}  // namespace testsupport
