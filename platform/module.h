#pragma once

#include "platform/export.h"

#include <string>

namespace platform {

// The Linux path of the shared object (or program) that holds the given code address (dladdr).
// Empty when it cannot be found.
KOVAPLATFORM_API std::string ModulePathOf(const void* address);
// The running program's own path (/proc/self/exe).
KOVAPLATFORM_API std::string ExecutablePath();

}  // namespace platform
