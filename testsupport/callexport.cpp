// callexport LIBRARY FUNCTION: loads the library with dlopen, as another program would, in a process
// that has loaded nothing of ours, and calls an export of it that takes no argument and returns
// int32_t. Exit status 0 when the call returned nonzero, 1 when it returned 0, 2 when the library or
// the export could not be loaded (the loader's message on standard error).

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "Usage: callexport LIBRARY FUNCTION\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    const auto function = reinterpret_cast<int32_t (*)()>(dlsym(library, argv[2]));
    if (!function) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    const int32_t result = function();
    std::printf("%s returned %d\n", argv[2], result);
    return result != 0 ? 0 : 1;
}
