#include "trayhost/syncui/devicefoldertree.h"

#include "engine/kovahddprofiler.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "trayhost/sync/syncpaths.h"
#include "trayhost/syncui/syncuitexts.h"

#include <algorithm>
#include <climits>

namespace trayhost {

namespace {

constexpr std::size_t kDriveRootLength = 3;  // "E:\"
constexpr const char* kAllEntries = "*.*";

bool IsDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

std::vector<platform::FolderEntry> ListEntries(const std::string& folderPath)
{
    std::vector<platform::FolderEntry> entries =
        platform::FindFiles(platform::JoinPath(folderPath, kAllEntries), platform::ListingDetail::Quick)
            .value_or(std::vector<platform::FolderEntry>());
    std::erase_if(entries, [](const platform::FolderEntry& entry) { return IsDotEntry(entry.name); });
    return entries;
}

void AddSubfolders(DeviceFolderNode& parent, const std::string* startPath)
{
    for (const platform::FolderEntry& entry : ListEntries(parent.path)) {
        if (!entry.IsFolderToWalk()) continue;
        DeviceFolderNode child;
        child.name = entry.name;
        child.path = platform::JoinPath(parent.path, entry.name);
        if (child.path.size() > platform::kMaxPath) continue;
        child.isStart = startPath && platform::EqualsNoCase(child.path, *startPath);
        AddSubfolders(child, startPath);
        parent.children.push_back(std::move(child));
    }
    std::stable_sort(parent.children.begin(), parent.children.end(),
                     [](const DeviceFolderNode& a, const DeviceFolderNode& b) { return FolderNameLess(a.name, b.name); });
}

}  // namespace

DeviceFolderTree ReadDeviceFolderTree(const std::string& startPath, bool findStart)
{
    DeviceFolderTree tree;
    if (startPath.empty()) return tree;
    std::string root = startPath.substr(0, kDriveRootLength);
    if (!KOVAHDDIsDevicePresent(root.data())) {
        tree.state = DeviceFolderTree::State::NoDevice;
        return tree;
    }
    tree.state = DeviceFolderTree::State::Filled;
    tree.root.name = root;
    tree.root.path = root;
    AddSubfolders(tree.root, findStart ? &startPath : nullptr);
    return tree;
}

std::vector<DeviceFolderEntry> ListDeviceFolder(const std::string& folderPath)
{
    std::vector<DeviceFolderEntry> list;
    for (const platform::FolderEntry& entry : ListEntries(folderPath)) {
        list.push_back({entry.name, platform::JoinPath(folderPath, entry.name), entry.IsFolder()});
    }
    std::stable_sort(list.begin(), list.end(), [](const DeviceFolderEntry& a, const DeviceFolderEntry& b) {
        if (a.isFolder != b.isFolder) return a.isFolder;
        return FolderNameLess(a.name, b.name);
    });
    return list;
}

bool FolderNameLess(const std::string& name, const std::string& other)
{
    return platform::CompareNoCase(name, other) < 0;
}

std::string NewFolderParent(const std::string& chosenPath)
{
    std::string parent = chosenPath;
    std::size_t nameOffset = parent.size();
    if (IsFilePath(parent, &nameOffset)) parent.resize(nameOffset);
    if (!platform::EndsWithBackslash(parent)) parent += '\\';
    return parent;
}

std::string ProposeNewFolderName(const std::string& parent)
{
    int32_t number = 1;
    while (number < INT32_MAX && platform::FileExists(parent + NewFolderName(number))) ++number;
    return NewFolderName(number);
}

}  // namespace trayhost
