#include "engine/scan/devicescanner.h"

#include "engine/api/cancelflag.h"
#include "engine/api/utility.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/kovahddprofiler.h"
#include "engine/mp3/mp3tagreader.h"
#include "engine/scan/blanktext.h"
#include "engine/scan/devicecount.h"
#include "engine/scan/foldertagreader.h"
#include "engine/scan/tagreadahead.h"
#include "engine/wma/wmaattributereader.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace engine {

namespace {

constexpr std::string_view kUnknownText = "(unknown)";
constexpr std::string_view kRelativePrefix = "..\\..\\";

// The readers' results the scanner tells apart: both readers end a failed read with the same code.
constexpr int32_t kReadEndedByException = kMp3FileException;
static_assert(kReadEndedByException == kWmaFileSystemError);

// How the walk of one listing ended.
enum class WalkEnd {
    Completed,
    Cancelled,
    FolderFailedDeviceGone,  // a sub-folder failed and the device is no longer present
    ReadFailedDeviceGone,    // a tag read ended by an exception and the device is no longer present
};

struct WalkOutcome {
    WalkEnd end = WalkEnd::Completed;
    int32_t folderResult = kScanDone;  // the failing sub-folder's result, for FolderFailedDeviceGone
};

// The counters live in the library, not in a scan's frame: the window reads them when it handles the
// posted message, possibly after the scan has returned.
ScanCounters& PostedCounters()
{
    static ScanCounters counters;
    return counters;
}

UnaddressableFiles& ScanUnaddressableFiles()
{
    static UnaddressableFiles files;
    return files;
}

bool IsDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

constexpr std::string_view kAllNames = "*.*";

// A folder's entries, and the folder held open for the reading of its files.
struct FolderListing {
    platform::Folder folder;
    std::vector<platform::FolderEntry> entries;
};

// As FindFiles lists the folder's "*.*". The walks need names and the folder bit only, not the
// hidden and system bits.
std::optional<FolderListing> ListFolder(const std::string& folder)
{
    std::optional<platform::Folder> opened = platform::Folder::Open(folder);
    if (!opened) return std::nullopt;
    std::optional<std::vector<platform::FolderEntry>> entries = opened->List(kAllNames, platform::ListingDetail::Quick);
    if (!entries) return std::nullopt;
    return FolderListing{std::move(*opened), std::move(*entries)};
}

// What follows the last dot of the path, as GetFileExtension finds it; empty when there is no dot.
std::string_view ExtensionOf(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

void FillDefaults(TrackRecord& record)
{
    if (IsBlankText(TextOf(record.title))) SetText(record.title, TextOf(record.fileName));
    if (IsBlankText(TextOf(record.artist))) SetText(record.artist, kUnknownText);
    if (IsBlankText(TextOf(record.album))) SetText(record.album, kUnknownText);
    if (IsBlankText(TextOf(record.genre))) SetText(record.genre, kUnknownText);
}

// The part of a full path below the root, as MakeDeviceRelativePath takes it: the root's bytes and
// the backslash after them dropped.
std::string_view BelowRoot(std::string_view root, std::string_view fullPath)
{
    std::string_view below = fullPath.substr(std::min(root.size(), fullPath.size()));
    if (!below.empty() && below.front() == '\\') below.remove_prefix(1);
    return below;
}

// A path the record cannot hold whole, before or after it is made relative, would be cut and then
// name another file in the playlists; such a file is left out instead.
bool FitsRecord(const char* root, const std::string& fullPath, const std::string& name)
{
    if (fullPath.size() >= kTextFieldSize || name.size() >= kFileNameSize) return false;
    return kRelativePrefix.size() + BelowRoot(root, fullPath).size() < kTextFieldSize;
}

// The path as the person knows it: the folder in the code page (a character it lacks stays '?') and
// the entry's own name as the file system spells it.
std::string DisplayPath(const std::string& folder, const platform::FolderEntry& entry)
{
    const platform::CodePage& page = platform::CodePage::System();
    const std::string name = entry.NameLostCharacters() ? entry.fileSystemName : page.ToUtf8(entry.name);
    return platform::JoinPath(page.ToUtf8(folder), name);
}

void NoteUnaddressable(std::string displayPath)
{
    UnaddressableFiles& files = ScanUnaddressableFiles();
    ++files.count;
    if (files.firstNames.size() < UnaddressableFiles::kNamesKept) files.firstNames.push_back(std::move(displayPath));
}

// Appends the record, then adds it to the album, artist and genre maps, looking for a cancel
// request between the steps. False when cancelled.
bool AddToCatalogue(const TrackRecord& record)
{
    TrackCatalogue& catalogue = Catalogue();
    const CatalogueTrack& track = catalogue.AppendTrack(record);
    if (CancelRequested()) return false;
    catalogue.AddToAlbumMap(track);
    if (CancelRequested()) return false;
    catalogue.AddToArtistMap(track);
    if (CancelRequested()) return false;
    catalogue.AddToGenreMap(track);
    return true;
}

class TreeWalk {
public:
    TreeWalk(const char* root, void* window, ScanCounters& counters, TagCache& tags, TagReadAhead& readAhead)
        : root_(root), window_(window), counters_(counters), tags_(tags), readAhead_(readAhead)
    {
    }

    WalkOutcome WalkListing(const FolderListing& listing, const std::string& folder, bool isSubFolder);
    int32_t ScanFolder(const std::string& folder);

private:
    void PostProgress();
    std::string EntryPath(const std::string& folder, const std::string& name, bool isSubFolder) const;
    std::vector<ListedAudioFile> AudioFilesOf(const FolderListing& listing, const std::string& folder,
                                              bool isSubFolder) const;
    int32_t EnterFolder(const std::string& path, const platform::FolderEntry& entry);
    std::optional<WalkEnd> ScanAudioFile(ListingReads& reads, std::size_t index, const std::string& folder,
                                         bool isSubFolder);

    const char* root_;
    void* window_;
    ScanCounters& counters_;
    TagCache& tags_;
    TagReadAhead& readAhead_;
    bool inUnaddressableFolder_ = false;  // a folder on the way has a name the code page cannot hold
    // The record of the audio file being read, made anew for each: the catalogue keeps a copy that
    // takes only the length of its texts.
    TrackRecord record_;
};

void TreeWalk::PostProgress()
{
    ++counters_.visited;
    platform::PostMessage(window_, kProfileProgressMessage, kReportScanProgress,
                          reinterpret_cast<intptr_t>(&counters_));
}

std::string TreeWalk::EntryPath(const std::string& folder, const std::string& name, bool isSubFolder) const
{
    return isSubFolder ? folder + "\\" + name : platform::JoinPath(root_, name);
}

// The audio files of the listing the walk takes into the catalogue, in the listing's order: a link
// to a folder is an entry like a file, and no audio file; a file whose path a record cannot hold
// is left out.
std::vector<ListedAudioFile> TreeWalk::AudioFilesOf(const FolderListing& listing, const std::string& folder,
                                                    bool isSubFolder) const
{
    std::vector<ListedAudioFile> files;
    for (const platform::FolderEntry& entry : listing.entries) {
        if (IsDotEntry(entry.name) || entry.IsFolder()) continue;
        std::string path = EntryPath(folder, entry.name, isSubFolder);
        if (!IsAudioFile(path.c_str()) || !FitsRecord(root_, path, entry.name)) continue;
        const std::size_t devicePathStart = path.size() - BelowRoot(root_, path).size();
        const bool addressable = !inUnaddressableFolder_ && !entry.NameLostCharacters();
        files.push_back({&entry, std::move(path), devicePathStart, addressable});
    }
    return files;
}

WalkOutcome TreeWalk::WalkListing(const FolderListing& listing, const std::string& folder, bool isSubFolder)
{
    FolderTagReader tagReader(listing.folder, tags_);
    ListingReads reads(readAhead_, tagReader, AudioFilesOf(listing, folder, isSubFolder));
    std::size_t nextAudioFile = 0;
    for (const platform::FolderEntry& entry : listing.entries) {
        if (CancelRequested()) return {WalkEnd::Cancelled};
        if (IsDotEntry(entry.name)) continue;
        PostProgress();
        if (entry.IsFolderToWalk()) {
            const int32_t result = EnterFolder(EntryPath(folder, entry.name, isSubFolder), entry);
            reads.Renew();
            // A cancel seen in the last entry of a folder would otherwise end as a count mismatch.
            if (result == kScanCancelled) return {WalkEnd::Cancelled};
            if (result != kScanDone && !IsDevicePresent(root_)) return {WalkEnd::FolderFailedDeviceGone, result};
            continue;
        }
        if (nextAudioFile == reads.Count() || reads.File(nextAudioFile).entry != &entry) continue;
        if (const std::optional<WalkEnd> stop = ScanAudioFile(reads, nextAudioFile++, folder, isSubFolder)) {
            return {*stop};
        }
    }
    return {WalkEnd::Completed};
}

int32_t TreeWalk::EnterFolder(const std::string& path, const platform::FolderEntry& entry)
{
    const bool outer = inUnaddressableFolder_;
    inUnaddressableFolder_ = outer || entry.NameLostCharacters();
    const int32_t result = ScanFolder(path);
    inUnaddressableFolder_ = outer;
    return result;
}

std::optional<WalkEnd> TreeWalk::ScanAudioFile(ListingReads& reads, std::size_t index, const std::string& folder,
                                               bool isSubFolder)
{
    if (isSubFolder && CancelRequested()) return WalkEnd::Cancelled;
    const int32_t readResult = reads.Take(index, record_);
    if (readResult == kReadEndedByException && !IsDevicePresent(root_)) return WalkEnd::ReadFailedDeviceGone;
    if (CancelRequested()) return WalkEnd::Cancelled;
    if (readResult == kMp3EmptyFile) return std::nullopt;

    FillDefaults(record_);
    MakeDeviceRelativePath(root_, &record_);
    if (!AddToCatalogue(record_)) return WalkEnd::Cancelled;
    const ListedAudioFile& file = reads.File(index);
    if (!file.addressable) NoteUnaddressable(DisplayPath(folder, *file.entry));
    return std::nullopt;
}

int32_t TreeWalk::ScanFolder(const std::string& folder)
{
    const std::optional<FolderListing> listing = ListFolder(folder);
    if (!listing) return kScanDone;
    const WalkOutcome outcome = WalkListing(*listing, folder, true);
    switch (outcome.end) {
    case WalkEnd::Completed:
        return kScanDone;
    case WalkEnd::Cancelled:
        return kScanCancelled;
    case WalkEnd::FolderFailedDeviceGone:
        return outcome.folderResult;
    case WalkEnd::ReadFailedDeviceGone:
        return kScanNothingFound;
    }
    return kScanDone;
}

int32_t ScanTree(const char* root, void* window, TagCache& tags, const std::function<void()>& whenCounted)
{
    Catalogue().ClearTracks();
    ScanUnaddressableFiles() = {};
    if (CancelRequested()) return kScanCancelled;

    ScanCounters& counters = PostedCounters();
    counters = {};
    int total = 0;
    const int32_t countResult = GetNumFilesOnDevice(root, &total);
    if (countResult != kScanDone) return countResult;
    counters.total = total;
    if (whenCounted) whenCounted();

    const std::optional<FolderListing> listing = ListFolder(root);
    if (!listing) return kScanNothingFound;
    if (CancelRequested()) return kScanCancelled;

    TagReadAhead readAhead;
    TreeWalk walk(root, window, counters, tags, readAhead);
    if (walk.WalkListing(*listing, root, false).end == WalkEnd::Cancelled) return kScanCancelled;
    if (counters.visited != counters.total) return kScanEntriesChanged;
    if (Catalogue().TrackCount() == 0) return kScanNoAudioFiles;
    return kScanDone;
}

}  // namespace

int32_t GetNumFilesOnDevice(const char* root, int* count)
{
    if (!count) return kScanNoCountPointer;
    try {
        const std::string rootText(root);
        const std::string folder = platform::EndsWithBackslash(rootText) ? rootText.substr(0, rootText.size() - 1)
                                                                         : rootText;
        return DeviceCount(folder).Run(count);
    } catch (const platform::FileError&) {
        return kScanFileSystemError;
    } catch (const std::bad_alloc&) {
        return kScanFileSystemError;
    }
}

int32_t ScanDevice(const char* root, void* window, TagCache& tags, const std::function<void()>& whenCounted)
{
    try {
        return ScanTree(root, window, tags, whenCounted);
    } catch (const platform::FileError&) {
        return kScanFileSystemError;
    } catch (const std::bad_alloc&) {
        return kScanFileSystemError;
    }
}

const UnaddressableFiles& LastScanUnaddressableFiles()
{
    return ScanUnaddressableFiles();
}

int32_t IsAudioFile(const char* path)
{
    if (!path) return 0;
    const std::string_view extension = ExtensionOf(path);
    return platform::EqualsNoCase(extension, "MP3") || platform::EqualsNoCase(extension, "WMA") ? 1 : 0;
}

int32_t MakeDeviceRelativePath(const char* root, TrackRecord* record)
{
    if (!root || !record) return 0;
    const std::string below(BelowRoot(root, TextOf(record->path)));
    SetText(record->path, std::string(kRelativePrefix) + below);
    return 1;
}

}  // namespace engine
