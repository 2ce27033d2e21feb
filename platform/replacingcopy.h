#pragma once

#include "platform/export.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct CopyOptions {
    // Looked at between blocks of the content: once nonzero, the copy stops with
    // kErrorRequestAborted, so that a large file never keeps a cancel waiting.
    const std::atomic<int32_t>* cancel = nullptr;
    // The DOS attributes the copy is given; the source's when empty.
    std::optional<uint32_t> attributes;
    // The caller has just listed the target's folder and found no entry of the target's name in any
    // letter case: the copy is made at the name as spelled, without looking for another spelling.
    bool targetIsNew = false;
};

// What a copy left at its target.
struct CopiedFile {
    int64_t lastWriteTime = 0;  // whole seconds since 1970 UTC, as the target's file system keeps it
    uint64_t size = 0;
};

// CopyFile with overwriting allowed, made safe for the file it replaces: the content goes to a new
// file beside the target, which is renamed over the target only once it is complete, with the
// source's last-write time and the attributes. A full disk (kErrorDiskFull), an unplugged device or
// a cancel leaves the old target whole and no temporary file behind. A target that does not exist
// yet is written in place, and removed again when the copy fails. Like CopyFile it copies only a
// regular file (a link to one is followed) and refuses a read-only target or a folder
// (kErrorAccessDenied). A link at the target's name is replaced, never written through.
//
// copied, when given, receives the target's time and size as they are after the copy (left empty
// when they cannot be read).
KOVAPLATFORM_API bool CopyFileReplacing(const std::string& from, const std::string& to, const CopyOptions& options = {},
                                        std::optional<CopiedFile>* copied = nullptr);

}  // namespace platform
