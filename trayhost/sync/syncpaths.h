#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Path rules shared by the sync run and the sync setup. Paths are Windows-style texts in the system
// code page ("E:\Music\a.mp3"), at most 260 characters; a backslash that is the second byte of a
// double-byte character is not a separator.
namespace trayhost {

// Whether the path is taken for a file (true) or a folder. An existing path is a folder when it has
// the directory attribute. A path that does not exist is a folder when its last "\" comes after its
// last ".", a file when a "." comes last, and a file when it has neither. For a file, nameOffset
// (when given) is set to the start of the name after the last "\", and left as it is when the path
// has no "\"; a missing file without any "." leaves it too.
bool IsFilePath(const std::string& path, std::size_t* nameOffset = nullptr);

// Where the name of a path begins: one past its last "\", 0 when it has none.
std::size_t NameOffset(const std::string& path);

// How the two paths of an item are taken. A path that exists is a file or a folder as the file
// system says, whatever its name looks like (artist and album folders are often named "R.E.M." or
// "Vol. 1"). A missing path is of the type of its counterpart when that exists, as the run will make
// it. Only when neither exists is each taken as its text reads (IsFilePath).
struct ItemPathTypes {
    bool pcIsFile = false;
    bool deviceIsFile = false;

    bool Match() const { return pcIsFile == deviceIsFile; }
};
ItemPathTypes TypesOfItemPaths(const std::string& pcPath, const std::string& devicePath);

// Removes the spaces (only ' ') before and after the text; a text of spaces alone stays as it is.
void TrimSpaces(std::string& path);

// Creates every missing folder level of the path; a last level taken for a file (IsFilePath) is
// not created, so "D:\Music\song.mp3" creates "D:\Music". Every level before the last is a folder,
// dotted or not. False at the first level that cannot be created, with its Windows error code in
// error when given.
bool CreateFolderPath(const std::string& path, uint32_t* error = nullptr);

// Creates the folder with every missing level above it, for a caller that knows the path names a
// folder. Errors as CreateFolderPath.
bool CreateFolderAndParents(const std::string& folder, uint32_t* error = nullptr);

// An existing drive root: a letter and ":", with or without a "\" after it.
bool IsDriveRoot(const std::string& path);

// The path is the device's own folder "kovahdd" at the root of the drive, or lies below it (letter
// case aside); "E:\kovahdd_playlists" is not.
bool IsInDeviceSystemFolder(char driveLetter, const std::string& path);

}  // namespace trayhost
