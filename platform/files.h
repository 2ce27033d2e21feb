#pragma once

#include "platform/export.h"

#include <dirent.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Windows file-system calls the system is written against, on Linux paths behind the drive map.
// Every function takes a Windows-style path in the system code page. Functions that return a bool
// or an empty optional set the per-thread last error (platform/errors.h) when they fail.
namespace platform {

inline constexpr uint32_t kAttributeReadOnly = 0x01;
inline constexpr uint32_t kAttributeHidden = 0x02;
inline constexpr uint32_t kAttributeSystem = 0x04;
inline constexpr uint32_t kAttributeDirectory = 0x10;
// Neither a regular file nor a folder: a named pipe, a socket, a device node or a link that leads
// nowhere, as Windows marks a device.
inline constexpr uint32_t kAttributeDevice = 0x40;
inline constexpr uint32_t kAttributeArchive = 0x20;
inline constexpr uint32_t kAttributeNormal = 0x80;
inline constexpr uint32_t kAttributeReparsePoint = 0x400;  // a symbolic link, as Windows marks one
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// One entry of a listing. A symbolic link is listed as what it points to (a link to a folder is a
// folder, a link to a file is that file, a dangling link a file) with kAttributeReparsePoint added.
// An entry that is no regular file nor folder has kAttributeDevice.
struct FolderEntry {
    std::string name;           // system code page
    uint32_t attributes = 0;
    uint64_t size = 0;
    int64_t lastWriteTime = 0;  // whole seconds since 1970 UTC
    // The name as the file system spells it (UTF-8), kept only when the code page lacks some of its
    // characters: name then holds '?' for each, and two such names may read alike.
    std::string fileSystemName;

    bool IsFolder() const { return (attributes & kAttributeDirectory) != 0; }
    bool IsLink() const { return (attributes & kAttributeReparsePoint) != 0; }
    bool IsRegularFile() const { return (attributes & (kAttributeDirectory | kAttributeDevice)) == 0; }
    // A folder that a walk enters: never one reached through a link, which may lead back up the
    // tree or out of the device.
    bool IsFolderToWalk() const { return IsFolder() && !IsLink(); }
    bool NameLostCharacters() const { return !fileSystemName.empty(); }
};

// What tells a file that changed from one that did not, short of reading it: its size and its
// last-write time as finely as the file system keeps it (FAT keeps steps of 2 seconds).
struct FileStamp {
    uint64_t size = 0;
    int64_t lastWriteNanoseconds = 0;  // since 1970 UTC

    bool operator==(const FileStamp&) const = default;
};

// How much a listing tells of each entry.
enum class ListingDetail {
    Full,   // the DOS attributes, read as GetFileAttributes reads them
    Quick,  // names and the folder bit, from the listing itself where the file system tells the
            // type there: no other attribute, and size and time only where an entry had to be
            // looked up (a walk of thousands of folders needs no more)
};

// FindFirstFile/FindNextFile over a pattern such as "E:\Music\*.*" ('*' and '?' in the last
// component, matched without regard to case; "*.*" matches every name). Hidden entries are
// included. As on Windows, a folder below a drive root also lists "." and ".." first, and a drive
// root does not, so an empty root finds nothing. Empty optional when nothing is found.
KOVAPLATFORM_API std::optional<std::vector<FolderEntry>> FindFiles(const std::string& pattern,
                                                                   ListingDetail detail = ListingDetail::Full);

// What a count of a tree needs of one folder: how many entries FindFiles(folder + "\\*.*", Quick)
// lists, "." and ".." left out, and the names of those a walk enters (folders, not links to them),
// as FindFiles names them. Only those names are converted to the code page: a count of a device
// passes thousands of names. Empty, with the last error set, where FindFiles finds nothing.
struct FolderCount {
    int64_t entries = 0;
    std::vector<std::string> foldersToWalk;
};
KOVAPLATFORM_API std::optional<FolderCount> CountFolder(const std::string& folder);

KOVAPLATFORM_API uint32_t GetFileAttributes(const std::string& path);
KOVAPLATFORM_API bool SetFileAttributes(const std::string& path, uint32_t attributes);

// Fails with kErrorAlreadyExists (183) when the folder exists.
KOVAPLATFORM_API bool CreateDirectory(const std::string& path);
KOVAPLATFORM_API bool RemoveDirectory(const std::string& path);

// The access(path, 0) test.
KOVAPLATFORM_API bool FileExists(const std::string& path);
KOVAPLATFORM_API bool DeleteFile(const std::string& path);
// Copies content and last-write time; with failIfExists, fails with kErrorFileExists. Copies only
// a regular file, never through a link at the target's name (kErrorAccessDenied).
KOVAPLATFORM_API bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);
// Renames, replacing an existing target in one step.
KOVAPLATFORM_API bool MoveFileReplacing(const std::string& from, const std::string& to);

KOVAPLATFORM_API std::optional<int64_t> GetLastWriteTime(const std::string& path);
// The size and last-write time of a regular file; empty, with the last error set, for anything else.
KOVAPLATFORM_API std::optional<FileStamp> GetFileStamp(const std::string& path);
KOVAPLATFORM_API bool SetLastWriteTime(const std::string& path, int64_t seconds);

// Total free bytes of the volume holding the path (not the caller's quota).
KOVAPLATFORM_API std::optional<uint64_t> GetDiskFreeSpace(const std::string& path);

// An open file whose failures are FileError exceptions, like MFC's CFile.
class KOVAPLATFORM_API File {
public:
    enum class Mode {
        Read,           // existing file, read only
        ReadWrite,      // existing file
        Write,          // existing file, write only
        CreateTruncate  // create or truncate, read and write
    };
    enum class Origin { Begin, Current, End };

    // Throws FileError when the file cannot be opened. Only a regular file opens (a folder, a FIFO
    // or a device node gives kErrorAccessDenied, at once: an open never waits), and a file is not
    // opened for writing through a link at its name (kErrorAccessDenied).
    static File Open(const std::string& path, Mode mode);
    // Same, but gives the error code instead of throwing.
    static std::optional<File> TryOpen(const std::string& path, Mode mode, uint32_t* error = nullptr);

    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // Reads up to size bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t size);
    // Reads up to size bytes from the offset on, leaving the position where it was; fewer only at
    // the end of the file.
    std::size_t ReadAt(uint64_t offset, void* buffer, std::size_t size);
    // Writes everything or throws (a full disk is kErrorDiskFull).
    void Write(const void* data, std::size_t size);
    uint64_t Seek(int64_t offset, Origin origin);
    uint64_t Length() const;
    // The length the file had when it was opened: for a reader that knows the file does not
    // change while it reads it, one system call fewer per file.
    uint64_t LengthWhenOpened() const { return stampWhenOpened_.size; }
    // Its size and last-write time when it was opened: what the content read from it belongs to.
    const FileStamp& StampWhenOpened() const { return stampWhenOpened_; }
    // Flushes the data to the device.
    void Sync();
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

private:
    friend class Folder;

    File(int fd, std::string path, const FileStamp& stampWhenOpened);
    // Opens the entry named (as the file system spells it) in the open folder for reading.
    static std::optional<File> OpenInFolder(int folderFd, const std::string& name, const std::string& path);
    // Opens the path as spelled when that names a file; no last error is set when it does not.
    static std::optional<File> OpenSpelledForReading(const std::string& path);

    int fd_ = -1;
    std::string path_;  // as the caller wrote it, for error messages
    FileStamp stampWhenOpened_;
};

// A folder held open while it is listed and the files its listing gave are read: each then opens
// by its name alone instead of by a walk along its whole path (a scan of thousands of songs opens
// every one), and the folder is found once for both.
class KOVAPLATFORM_API Folder {
public:
    // The folder at the Windows path, found as FindFiles finds it. Empty, with the last error set,
    // when it cannot be opened.
    static std::optional<Folder> Open(const std::string& path);

    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder();

    // What FindFiles gives for the folder's path followed by the name pattern ("*.*" for all).
    std::optional<std::vector<FolderEntry>> List(std::string_view namePattern, ListingDetail detail);
    // Opens an entry of this folder's listing for reading as File::TryOpen opens it by its path:
    // only a regular file opens (a link to one too), and never waits. path names the file in the
    // File's errors. Empty, with the last error set, when it does not open.
    std::optional<File> OpenForReading(const FolderEntry& entry, const std::string& path) const;
    // The stamp of an entry of this folder's listing, through a link as OpenForReading reads it;
    // empty when it is gone or no regular file. Reads the entry's status only: nothing is opened.
    std::optional<FileStamp> Stamp(const FolderEntry& entry) const;

private:
    Folder(DIR* listing, std::string linuxPath, bool isDriveRoot);
    int Descriptor() const;

    DIR* listing_ = nullptr;
    std::string linuxPath_;
    bool isDriveRoot_ = false;
    bool listed_ = false;  // the listing was read: it starts again from its beginning
};

}  // namespace platform
