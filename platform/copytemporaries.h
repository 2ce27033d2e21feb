#pragma once

#include "platform/export.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

// The temporary files that copies are written to beside their targets, ".kovahdd-<pid>-<n>.tmp"
// (the leading dot hides them while they are written): the process's id, and a number of its own
// for each. A process killed during a copy leaves its temporary file behind.
namespace platform {

KOVAPLATFORM_API std::string CopyTemporaryName(pid_t process, uint32_t number);

// The process id a name of that pattern holds; 0 for any other name.
KOVAPLATFORM_API pid_t CopyTemporaryProcess(std::string_view name);

// A name of the pattern whose process no longer runs on this machine: what a killed copy left. The
// files of a process that runs (or may run: another user's) are never leftovers.
KOVAPLATFORM_API bool IsLeftoverCopyTemporary(std::string_view name);

}  // namespace platform
