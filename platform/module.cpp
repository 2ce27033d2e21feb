#include "platform/module.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <memory>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kOwnExecutable[] = "/proc/self/exe";

}  // namespace

std::string ModulePathOf(const void* address)
{
    Dl_info info{};
    link_map* module = nullptr;
    if (dladdr1(address, &info, reinterpret_cast<void**>(&module), RTLD_DL_LINKMAP) == 0 || !module) return {};
    // The program itself has no name in its link map; dladdr would give argv[0], which may be relative.
    if (module->l_name == nullptr || module->l_name[0] == '\0') return ExecutablePath();
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(module->l_name, nullptr), std::free);
    return resolved ? std::string(resolved.get()) : std::string(module->l_name);
}

std::string ExecutablePath()
{
    std::string path(PATH_MAX, '\0');
    for (;;) {
        const ssize_t length = readlink(kOwnExecutable, path.data(), path.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace platform
