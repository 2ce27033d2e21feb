#include "engine/scan/foldertagreader.h"

#include "engine/mp3/id3v1tag.h"
#include "engine/mp3/mp3tagreader.h"
#include "engine/wma/wmaattributereader.h"

#include "platform/codepage.h"

namespace engine {

namespace {

// What both readers give when the file system fails while they read.
constexpr int32_t kReadEndedByFailure = kMp3FileException;
static_assert(kReadEndedByFailure == kWmaFileSystemError);

bool IsWmaPath(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && platform::EqualsNoCase(path.substr(dot + 1), "WMA");
}

// Whether the result follows from the file's bytes alone, so that it holds while the file keeps
// its stamp. A read that the file system ended does not, but for an MP3 file too short for a
// version 1 block: the player's seek before its start ends that read the same way every time.
bool IsFileOwnResult(int32_t result, const platform::FileStamp& stamp, bool isWma)
{
    return result != kReadEndedByFailure || (!isWma && stamp.size < kId3v1BlockSize);
}

}  // namespace

FolderTagReader::FolderTagReader(const platform::Folder& folder, TagCache& cache) : folder_(folder), cache_(cache)
{
}

FileTags FolderTagReader::Read(const platform::FolderEntry& entry, const std::string& path,
                               std::string_view devicePath, TrackRecord& record) const
{
    if (const CachedTags* cached = Cached(entry, devicePath)) {
        cached->FillRecord(record);
        return {cached->readResult, cached, std::nullopt};
    }
    const bool isWma = IsWmaPath(path);
    std::optional<platform::File> file = folder_.OpenForReading(entry, path);
    // The path finds the file if anything can, and tells why it cannot be read.
    if (!file) {
        return {isWma ? ReadWmaAttributes(path.c_str(), &record) : ReadMp3Tags(path.c_str(), &record), nullptr,
                std::nullopt};
    }
    const int32_t result = isWma ? ReadWmaAttributes(*file, record) : ReadMp3Tags(*file, record);
    const platform::FileStamp& stamp = file->StampWhenOpened();
    if (devicePath.empty() || !IsFileOwnResult(result, stamp, isWma)) return {result, nullptr, std::nullopt};
    return {result, nullptr, stamp};
}

int32_t FolderTagReader::Keep(const FileTags& tags, std::string_view devicePath, const TrackRecord& record)
{
    if (tags.previous) cache_.KeepPrevious(*tags.previous);
    else if (tags.stamp) cache_.Keep(CachedTags::Of(devicePath, *tags.stamp, tags.result, record));
    return tags.result;
}

// Only a file the last profile read is worth the reading of its stamp.
const CachedTags* FolderTagReader::Cached(const platform::FolderEntry& entry, std::string_view devicePath) const
{
    const CachedTags* previous = devicePath.empty() ? nullptr : cache_.Previous(devicePath);
    if (!previous) return nullptr;
    const std::optional<platform::FileStamp> stamp = folder_.Stamp(entry);
    return stamp == previous->stamp ? previous : nullptr;
}

}  // namespace engine
