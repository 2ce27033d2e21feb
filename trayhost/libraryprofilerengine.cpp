#include "trayhost/libraryprofilerengine.h"

#include <vector>

namespace trayhost {

namespace {

// The exports take writable texts; they write into none of them but the extension buffer.
std::vector<char> WritableText(const std::string& text)
{
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    return copy;
}

}  // namespace

int32_t LibraryProfilerEngine::Synchronize(char driveLetter, KovaProgressCallback callback, void* window)
{
    return KOVAHDDProfilerSyncronize(driveLetter, callback, window);
}

void LibraryProfilerEngine::CancelSynchronize()
{
    KOVAHDDProfilerCancelSyncronize();
}

int32_t LibraryProfilerEngine::UpdateHelpFiles(char driveLetter)
{
    return KOVAHDDUpdateHelpFiles(driveLetter);
}

int32_t LibraryProfilerEngine::UpdateSystemFiles(char driveLetter, uint8_t model)
{
    return KOVAHDDUpdateSystemFiles(driveLetter, model);
}

KovaRunSummary LibraryProfilerEngine::RunSummary()
{
    KovaRunSummary summary{};
    KOVAHDDProfilerGetRunSummary(&summary);
    return summary;
}

bool LibraryProfilerEngine::IsDevicePresent(const std::string& root)
{
    return KOVAHDDIsDevicePresent(WritableText(root).data()) != 0;
}

std::optional<std::string> LibraryProfilerEngine::GetFileExtension(const std::string& path)
{
    std::vector<char> writablePath = WritableText(path);
    // The extension is a tail of the path, so a buffer of the path's size always holds it.
    std::vector<char> extension(writablePath.size(), '\0');
    if (KOVAHDDProfilerGetFileExtension(writablePath.data(), extension.data()) == 0) return std::nullopt;
    return std::string(extension.data());
}

}  // namespace trayhost
