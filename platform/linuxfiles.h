#pragma once

#include "platform/export.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Whole files at Linux paths: the program's own files in the user's folders (platform/userfolders.h),
// not the Windows-style paths of the system. Both return kErrorSuccess or a Windows error code.
namespace platform {

// kErrorFileNotFound when the file does not exist.
KOVAPLATFORM_API uint32_t ReadWholeLinuxFile(const std::string& path, std::string& bytes);

// Whether a replacing file reaches the disk before it takes the old one's name, so that a crash
// leaves the old file whole; a file the program can make again and checks when it reads it may
// leave that to the system.
enum class ReplaceFlush { BeforeRename, LeftToTheSystem };

// Writes the bytes to a new file beside path (readable by the user alone) and renames it over path,
// so that a full disk leaves the old file whole, and a crash too when it is flushed before.
KOVAPLATFORM_API uint32_t ReplaceWholeLinuxFile(const std::string& path, std::string_view bytes,
                                                ReplaceFlush flush = ReplaceFlush::BeforeRename);
// The same for a file made of pieces, written one after the other: a large file need not be
// assembled in memory first.
KOVAPLATFORM_API uint32_t ReplaceWholeLinuxFile(const std::string& path, std::span<const std::string_view> pieces,
                                                ReplaceFlush flush = ReplaceFlush::BeforeRename);

}  // namespace platform
