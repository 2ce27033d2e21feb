#include "trayhost/syncui/droppedpaths.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "trayhost/syncui/syncuitexts.h"

namespace trayhost {

namespace {

char ToUpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text after the last "\" (the trail byte of a double-byte character is none); empty when there
// is none, as for a drive "C:".
std::string NameOf(const std::string& path)
{
    const platform::CodePage& page = platform::CodePage::System();
    std::optional<std::size_t> nameStart;
    for (std::size_t i = 0; i < path.size(); i += page.CharacterSize(path, i)) {
        if (path[i] == '\\' && page.CharacterSize(path, i) == 1) nameStart = i + 1;
    }
    return nameStart ? path.substr(*nameStart) : std::string();
}

}  // namespace

DroppedRows PlanDroppedRows(const std::vector<SyncPathPair>& rows, const std::vector<std::string>& droppedPaths,
                            char deviceLetter, UserInterface& userInterface, WindowHandle owner)
{
    DroppedRows dropped;
    if (deviceLetter == 0) return dropped;
    const std::string deviceRoot = std::string(1, deviceLetter) + ":\\";
    const auto findRow = [&](const std::string& pcPath) -> std::optional<std::size_t> {
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (platform::EqualsNoCase(rows[row].pcPath, pcPath)) return row;
        }
        for (std::size_t added = 0; added < dropped.added.size(); ++added) {
            if (platform::EqualsNoCase(dropped.added[added].pcPath, pcPath)) return rows.size() + added;
        }
        return std::nullopt;
    };

    for (std::string path : droppedPaths) {
        const uint32_t attributes = platform::GetFileAttributes(path);
        if (attributes == platform::kInvalidAttributes) continue;
        if ((attributes & platform::kAttributeDirectory) && platform::EndsWithBackslash(path)) path.pop_back();
        if (const std::optional<std::size_t> row = findRow(path)) {
            dropped.rowToSelect = row;
        } else if (!path.empty() && ToUpperAscii(path[0]) == ToUpperAscii(deviceLetter)) {
            userInterface.MessageBox(owner, kSyncToItselfText, kSyncToItselfTitle, kMbOk | kMbIconExclamation);
        } else {
            dropped.added.push_back({path, deviceRoot + NameOf(path)});
            dropped.rowToSelect = rows.size() + dropped.added.size() - 1;
        }
    }
    return dropped;
}

}  // namespace trayhost
