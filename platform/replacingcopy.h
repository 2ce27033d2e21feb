#pragma once

#include "platform/export.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace platform {

// CopyFile with overwriting allowed, made safe for the file it replaces: the content goes to a new
// file beside the target, which is renamed over the target only once it is complete, with the
// source's last-write time and DOS attributes. A full disk (kErrorDiskFull), an unplugged device or
// a cancel leaves the old target whole and no temporary file behind. A target that does not exist
// yet is written in place, and removed again when the copy fails. Like CopyFile it copies only a
// regular file (a link to one is followed) and refuses a read-only target or a folder
// (kErrorAccessDenied). A link at the target's name is replaced, never written through.
//
// cancel, when given, is looked at between blocks of the content: once it is nonzero the copy stops
// with kErrorRequestAborted, so that a large file never keeps a cancel waiting.
KOVAPLATFORM_API bool CopyFileReplacing(const std::string& from, const std::string& to,
                                        const std::atomic<int32_t>* cancel = nullptr);

}  // namespace platform
