#include "trayhost/syncui/itemconflicts.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "trayhost/sync/syncpaths.h"

#include <unordered_map>

namespace trayhost {

namespace {

constexpr const char* kAllEntries = "*.*";

// Paths claimed so far, lower-cased, with the side of their first claim.
class PathClaims {
public:
    PathClaims(SyncOption option, bool cleanupChecked) : option_(option), cleanupChecked_(cleanupChecked) {}

    // Claims the path for the side; false when an earlier claim conflicts with it.
    bool Claim(const std::string& lowerPath, ItemSide side)
    {
        const auto [claim, isNew] = claims_.try_emplace(lowerPath, side);
        return isNew || !ConflictsWithEarlier(claim->second);
    }

private:
    bool ConflictsWithEarlier(ItemSide earlier) const
    {
        switch (option_) {
        case SyncOption::SyncBoth: return true;
        case SyncOption::PcToDevice: return cleanupChecked_ && earlier == ItemSide::Device;
        case SyncOption::DeviceToPc: return cleanupChecked_ && earlier == ItemSide::Pc;
        case SyncOption::Invalid: break;
        }
        return false;
    }

    SyncOption option_;
    bool cleanupChecked_;
    std::unordered_map<std::string, ItemSide> claims_;
};

// Claims the path and, for a folder, every entry directly inside it.
bool ClaimPathAndEntries(PathClaims& claims, const std::string& path, ItemSide side,
                         const FolderEntryNames& entriesOf)
{
    const std::string lowerPath = platform::ToLowerNoCase(path);
    if (!claims.Claim(lowerPath, side)) return false;
    if (IsFilePath(lowerPath)) return true;
    for (const std::string& name : entriesOf(lowerPath)) {
        if (!claims.Claim(platform::ToLowerNoCase(platform::JoinPath(lowerPath, name)), side)) return false;
    }
    return true;
}

}  // namespace

FolderEntryNames ListedEntryNames()
{
    return [](const std::string& folderPath) {
        std::vector<std::string> names;
        const auto entries =
            platform::FindFiles(platform::JoinPath(folderPath, kAllEntries), platform::ListingDetail::Quick);
        if (!entries) return names;
        for (const platform::FolderEntry& entry : *entries) {
            if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
        }
        return names;
    };
}

std::optional<ItemConflict> FindItemConflict(const std::vector<SyncPathPair>& rows, SyncOption option,
                                             bool cleanupChecked, const FolderEntryNames& entriesOf)
{
    PathClaims claims(option, cleanupChecked);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!ClaimPathAndEntries(claims, rows[row].pcPath, ItemSide::Pc, entriesOf)) {
            return ItemConflict{row, ItemSide::Pc};
        }
        if (!ClaimPathAndEntries(claims, rows[row].devicePath, ItemSide::Device, entriesOf)) {
            return ItemConflict{row, ItemSide::Device};
        }
    }
    return std::nullopt;
}

}  // namespace trayhost
