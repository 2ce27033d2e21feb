#include "engine/api/utility.h"

#include "platform/files.h"

#include <cstring>
#include <string>

namespace engine {

int32_t GetFileExtension(const char* path, char* extension)
{
    if (!path || !extension) return 0;
    const char* dot = std::strrchr(path, '.');
    if (!dot) return 0;
    std::strcpy(extension, dot + 1);
    return 1;
}

int32_t IsDevicePresent(const char* root)
{
    if (!root) return 0;
    if (platform::GetFileAttributes(std::string(root) + ".") == platform::kInvalidAttributes) return 0;
    return platform::GetDiskFreeSpace(root) ? 1 : 0;
}

}  // namespace engine
