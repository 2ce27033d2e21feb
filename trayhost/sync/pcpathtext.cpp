#include "trayhost/sync/pcpathtext.h"

#include "platform/codepage.h"
#include "platform/paths.h"

#include <cstdlib>
#include <optional>

namespace trayhost {

namespace {

bool HasDrive(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':';
}

}  // namespace

std::string PcPathForDisplay(const std::string& insidePath)
{
    if (HasDrive(insidePath)) {
        if (const std::optional<std::string> linuxPath = platform::ToLinuxPath(insidePath)) return *linuxPath;
    }
    return platform::CodePage::System().ToUtf8(insidePath);
}

std::string SyncPathForDisplay(const std::string& insidePath, char deviceLetter)
{
    const bool onDevice = HasDrive(insidePath) && platform::EqualsNoCase({insidePath.data(), 1}, {&deviceLetter, 1});
    return onDevice ? platform::CodePage::System().ToUtf8(insidePath) : PcPathForDisplay(insidePath);
}

std::string SyncPathForMessage(const std::string& insidePath, char deviceLetter)
{
    return platform::CodePage::System().FromUtf8(SyncPathForDisplay(insidePath, deviceLetter));
}

std::string PcPathFromDisplay(const std::string& shownPath)
{
    if (shownPath.starts_with('/')) return platform::ToWindowsPath(shownPath);
    const char* home = std::getenv("HOME");
    if (home && (shownPath == "~" || shownPath.starts_with("~/"))) {
        return platform::ToWindowsPath(std::string(home) + shownPath.substr(1));
    }
    return platform::CodePage::System().FromUtf8(shownPath);
}

}  // namespace trayhost
