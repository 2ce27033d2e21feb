#include "testsupport/runtimedirectory.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace testsupport {

ScopedRuntimeDirectory::ScopedRuntimeDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kovahdd-run-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) throw std::runtime_error("cannot make a temporary runtime directory");
    path_ = buffer.data();
    if (const char* previous = std::getenv("XDG_RUNTIME_DIR")) previous_ = previous;
    ::setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
}

ScopedRuntimeDirectory::~ScopedRuntimeDirectory()
{
    if (previous_) {
        ::setenv("XDG_RUNTIME_DIR", previous_->c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace testsupport
