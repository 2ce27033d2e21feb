#pragma once

#include "engine/catalogue/trackrecord.h"
#include "engine/tagcache/tagcache.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Walks a device's folder tree and fills the process-wide track catalogue with its MP3 and WMA files.
namespace engine {

enum ScanResult : int32_t {
    kScanDone = 1,
    kScanNothingFound = 0,      // the root cannot be listed, or holds nothing at all
    kScanCancelled = -1,
    kScanNoAudioFiles = -2,
    kScanNoCountPointer = -3,
    kScanEntriesChanged = -4,   // more or fewer entries walked than counted
    kScanFileSystemError = -5,
};

// Progress of a scan, posted by address with every entry: entries visited so far, then the total
// counted before the walk. The layout is part of the progress message's contract.
struct ScanCounters {
    int32_t visited = 0;
    int32_t total = 0;
};

// Audio files of the last scan whose paths hold characters outside the system code page: the
// playlists name them with '?' in their place, so the player cannot address them.
struct UnaddressableFiles {
    static constexpr std::size_t kNamesKept = 5;

    int32_t count = 0;
    std::vector<std::string> firstNames;  // device paths as the file system spells them (UTF-8)
};

// Counts every folder entry below the root, recursively (a folder counts 1 plus its contents). A
// link to a folder counts as one entry: walks never enter one.
int32_t GetNumFilesOnDevice(const char* root, int* count);

// Empties the track list and fills the catalogue from the device; posts message 1026 with report
// code 7 and the address of the counters to the window for every entry visited. The tags of a file
// come from the cache while the file keeps the stamp they were read with; those of every file of
// the scan are kept in it for the next. whenCounted, if given, is called once the device is counted,
// before the walk: the caller may fill tags until then.
int32_t ScanDevice(const char* root, void* window, TagCache& tags, const std::function<void()>& whenCounted = {});
// Those met by the last ScanDevice.
const UnaddressableFiles& LastScanUnaddressableFiles();

// 1 when the path names an MP3 or WMA file by its extension (any case), else 0.
int32_t IsAudioFile(const char* path);

// Rewrites the record's full path as "..\..\" + the path below the root: relative to the folder
// where the playlists lie. 0 when either argument is null.
int32_t MakeDeviceRelativePath(const char* root, TrackRecord* record);

}  // namespace engine
