#pragma once

#include <optional>
#include <string>

namespace testsupport {

// Points XDG_RUNTIME_DIR at a fresh temporary directory for the life of the object, so that the
// top-level windows a test publishes, and those of the programs it starts, are seen by that test
// alone and not by a tray program the developer runs.
class ScopedRuntimeDirectory {
public:
    ScopedRuntimeDirectory();
    ScopedRuntimeDirectory(const ScopedRuntimeDirectory&) = delete;
    ScopedRuntimeDirectory& operator=(const ScopedRuntimeDirectory&) = delete;
    // Restores the variable and removes the directory with everything in it.
    ~ScopedRuntimeDirectory();

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::optional<std::string> previous_;
};

}  // namespace testsupport
