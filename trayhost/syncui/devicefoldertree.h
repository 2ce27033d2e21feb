#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the device folder browser shows: the tree of every folder on the device's drive, and the
// entries of one folder. Paths are inside paths with the device's drive letter ("E:\Music").
namespace trayhost {

struct DeviceFolderNode {
    std::string name;  // the folder's name; the drive root's is its path, "E:\"
    std::string path;
    bool isStart = false;  // the folder the browser opened at
    // Sorted by name (FolderNameLess), as the list shows them.
    std::vector<DeviceFolderNode> children;
};

struct DeviceFolderTree {
    enum class State {
        Empty,     // no start path: nothing to show
        NoDevice,  // the drive of the start path holds no working device
        Filled,
    };
    State state = State::Empty;
    DeviceFolderNode root;  // when filled
};

// The folders of the drive named by the first (at most) 3 characters of startPath. With findStart,
// the folder whose path equals startPath (without regard to case) is marked as the start; a path
// that names no folder (a file, a missing folder) marks none. Folders that cannot be listed show no
// subfolders; a link to a folder, which may lead back up the tree or off the device, and a folder
// whose path would be longer than a path may be are left out.
DeviceFolderTree ReadDeviceFolderTree(const std::string& startPath, bool findStart);

struct DeviceFolderEntry {
    std::string name;
    std::string path;
    bool isFolder = false;
};

// The entries of one folder, folders first, each group by name (FolderNameLess).
std::vector<DeviceFolderEntry> ListDeviceFolder(const std::string& folderPath);

// The order of names in the tree and in the list: without regard to case.
bool FolderNameLess(const std::string& name, const std::string& other);

// The folder a new folder goes into when the given path is chosen in the tree: the path itself, or
// the folder of a path taken for a file (IsFilePath); always ending with "\".
std::string NewFolderParent(const std::string& chosenPath);

// The name proposed for a new folder in parent (which ends with "\"): "Folder n" with the smallest n
// from 1 on that does not exist there.
std::string ProposeNewFolderName(const std::string& parent);

}  // namespace trayhost
