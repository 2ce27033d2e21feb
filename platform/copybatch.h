#pragma once

#include "platform/errors.h"
#include "platform/export.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

struct CopyOptions {
    // Looked at between blocks of the content: once nonzero, the copy stops with
    // kErrorRequestAborted, so that a large file never keeps a cancel waiting.
    const std::atomic<int32_t>* cancel = nullptr;
    // The DOS attributes the copy is given; the source's when empty.
    std::optional<uint32_t> attributes;
    // The caller has just listed the target's folder and found no entry of the target's name in any
    // letter case: the copy takes the name as spelled, without looking for another spelling.
    bool targetIsNew = false;
};

// What a copy left at its target.
struct CopiedFile {
    int64_t lastWriteTime = 0;  // whole seconds since 1970 UTC, as the target's file system keeps it
    uint64_t size = 0;
};

// Copies that replace their targets whole, made durable together. Each copy's content goes to a
// temporary file of its own beside its target (platform/copytemporaries.h), with the source's
// last-write time and the attributes. Finish then flushes each file system written to, once, and
// only then renames every complete copy over its target. So a crash, a full disk or an unplugged
// device leaves each target as it was or as the complete copy, never a fragment under its name nor
// a name whose clusters were never written; and a batch of small files costs one flush, not one
// each.
//
// Like CopyFile, a copy takes only a regular file (a link to one is followed) and refuses a
// read-only target or a folder (kErrorAccessDenied); a link at the target's name is replaced, never
// written through. A write that fails with too little room left on the target's disk is
// kErrorDiskFull whatever the file system answered (fusefat answers EPERM).
class KOVAPLATFORM_API CopyBatch {
public:
    // What became of one copy.
    struct Outcome {
        uint32_t error = kErrorSuccess;
        std::optional<CopiedFile> copied;  // the target after the copy, when it can be read
    };

    // One flush covers this many copies or bytes at most: many small files, while a large one waits
    // for a few megabytes of others at most, and a nearly full disk needs little room beside the
    // targets the batch replaces.
    static constexpr std::size_t kMostCopies = 32;
    static constexpr uint64_t kMostBytes = 8 * 1024 * 1024;

    CopyBatch();
    // Drops the copies not finished: their temporary files are removed, their targets untouched.
    ~CopyBatch();
    CopyBatch(const CopyBatch&) = delete;
    CopyBatch& operator=(const CopyBatch&) = delete;

    // Writes the copy beside its target. False, with the last error set and nothing left behind,
    // when it cannot be written whole.
    bool Add(const std::string& from, const std::string& to, const CopyOptions& options = {});
    // The batch holds as much as one flush should cover.
    bool Full() const;
    bool Empty() const { return pending_.empty(); }
    // Flushes, then puts each copy in its target's place. The outcome of every copy added, in the
    // order added; the batch is empty afterwards.
    std::vector<Outcome> Finish();

    struct Pending;

private:
    struct ResolvedFolder {
        std::string windowsPath;
        std::string linuxPath;
    };

    uint32_t FindTarget(const std::string& to, bool targetIsNew, Pending& copy);
    std::optional<std::string> FolderForNewTargets(const std::string& folder);
    std::optional<CopiedFile> PutInPlace(const Pending& copy, uint32_t& error);

    const pid_t process_;
    ResolvedFolder lastNewTargetFolder_;
    std::vector<Pending> pending_;
    uint64_t bytes_ = 0;
    // Whether a rename gives a file the time of the rename, on each file system written to (fusefat
    // does): learnt from the first copy put in place there, so that the others need no look.
    std::map<dev_t, bool> renameResetsTime_;
};

}  // namespace platform
