#pragma once

#include "trayhost/sync/syncsettings.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Whether the items of the options dialog claim paths in a way a run cannot honour: both ways, no
// path may belong to two items; one way with clean-up, a destination may not be another item's
// source (what one item copies there, the other would delete).
namespace trayhost {

// The two paths of one row of the item list, as the profile stores them.
struct SyncPathPair {
    std::string pcPath;
    std::string devicePath;

    bool operator==(const SyncPathPair&) const = default;
};

enum class ItemSide {
    Pc,
    Device,
};

struct ItemConflict {
    std::size_t row;  // the row whose path conflicts (from 0)
    ItemSide side;

    bool operator==(const ItemConflict&) const = default;
};

// The names of the entries directly inside a folder, "." and ".." left out.
using FolderEntryNames = std::function<std::vector<std::string>(const std::string& folderPath)>;
FolderEntryNames ListedEntryNames();

// The first row, from the top, one of whose paths, or an entry directly inside one of its folders,
// was claimed earlier in a conflicting way: each row claims its PC path and that folder's entries,
// then its device path and that folder's entries; paths compare without regard to case, and a path
// keeps the side of its first claim. A claimed path conflicts, under the option of the buttons and
// the clean-up box, with an earlier claim from either side both ways; from the device side for
// PcToDevice and from the PC side for DeviceToPc when the box is checked; never otherwise.
std::optional<ItemConflict> FindItemConflict(const std::vector<SyncPathPair>& rows, SyncOption option,
                                             bool cleanupChecked, const FolderEntryNames& entriesOf);

}  // namespace trayhost
