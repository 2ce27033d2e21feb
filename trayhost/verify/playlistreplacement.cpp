#include "trayhost/verify/playlistreplacement.h"

#include "platform/errors.h"
#include "platform/files.h"

namespace trayhost {

namespace {

// Distinct enough that no file of the person's own is taken for it.
constexpr std::string_view kReplacementSuffix = ".kovahdd.tmp";

constexpr uint32_t kKeptAttributes = platform::kAttributeHidden | platform::kAttributeSystem |
                                     platform::kAttributeArchive;

bool WriteReplacement(const std::string& replacement, std::string_view content, uint32_t attributes)
{
    try {
        platform::File file = platform::File::Open(replacement, platform::File::Mode::CreateTruncate);
        file.Write(content.data(), content.size());
        file.Sync();
        file.Close();
    } catch (const platform::FileError&) {
        return false;
    }
    return platform::SetFileAttributes(replacement, attributes & kKeptAttributes);
}

}  // namespace

bool ReplacePlaylist(const std::string& path, std::string_view content)
{
    const uint32_t attributes = platform::GetFileAttributes(path);
    if (attributes == platform::kInvalidAttributes) return false;
    const std::string replacement = ReplacementPathOf(path);
    if (WriteReplacement(replacement, content, attributes) && platform::MoveFileReplacing(replacement, path)) {
        return true;
    }
    platform::DeleteFile(replacement);
    return false;
}

std::string ReplacementPathOf(const std::string& path)
{
    return path + std::string(kReplacementSuffix);
}

}  // namespace trayhost
