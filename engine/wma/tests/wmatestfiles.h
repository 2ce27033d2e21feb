#pragma once

#include "testsupport/devicetree.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace testsupport {

// The bytes of a committed WMA test file (see data/README.md).
inline std::string WmaTestFile(std::string_view name)
{
    return ReadWholeFile(std::string(KOVA_WMA_TEST_DATA) + "/" + std::string(name));
}

// The inside form of a path below the device's root given with '/': "E:\Music\a.wma".
inline std::string DevicePath(const TemporaryDevice& device, std::string_view relative)
{
    std::string path = device.root() + "\\" + std::string(relative);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace testsupport
