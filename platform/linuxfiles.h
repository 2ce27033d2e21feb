#pragma once

#include "platform/export.h"

#include <cstdint>
#include <string>
#include <string_view>

// Whole files at Linux paths: the program's own files in the user's folders (platform/userfolders.h),
// not the Windows-style paths of the system. Both return kErrorSuccess or a Windows error code.
namespace platform {

// kErrorFileNotFound when the file does not exist.
KOVAPLATFORM_API uint32_t ReadWholeLinuxFile(const std::string& path, std::string& bytes);

// Writes the bytes to a new file beside path (readable by the user alone), flushes it to the disk
// and renames it over path, so that a full disk or a crash leaves the old file whole.
KOVAPLATFORM_API uint32_t ReplaceWholeLinuxFile(const std::string& path, std::string_view bytes);

}  // namespace platform
