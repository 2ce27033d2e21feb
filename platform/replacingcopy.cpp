#include "platform/replacingcopy.h"

namespace platform {

bool CopyFileReplacing(const std::string& from, const std::string& to, const CopyOptions& options,
                       std::optional<CopiedFile>* copied)
{
    CopyBatch batch;
    if (!batch.Add(from, to, options)) return false;
    CopyBatch::Outcome outcome = std::move(batch.Finish().front());
    if (outcome.error != kErrorSuccess) {
        SetLastError(outcome.error);
        return false;
    }
    if (copied) *copied = outcome.copied;
    return true;
}

}  // namespace platform
