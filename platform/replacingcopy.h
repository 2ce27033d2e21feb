#pragma once

#include "platform/copybatch.h"
#include "platform/export.h"

#include <optional>
#include <string>

namespace platform {

// CopyFile with overwriting allowed, made safe for the file it replaces: a batch of one copy
// (CopyBatch), so the content goes to a temporary file beside the target, is flushed to its disk and
// only then renamed over the target, with the source's last-write time and the attributes. A full
// disk (kErrorDiskFull), an unplugged device or a cancel leaves the old target whole, or no file of
// its name when there was none, and no temporary file behind.
//
// copied, when given, receives the target's time and size as they are after the copy (left empty
// when they cannot be read).
KOVAPLATFORM_API bool CopyFileReplacing(const std::string& from, const std::string& to, const CopyOptions& options = {},
                                        std::optional<CopiedFile>* copied = nullptr);

}  // namespace platform
