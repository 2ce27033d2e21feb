#include "engine/mp3/mp3tagreader.h"

#include "engine/mp3/id3v1tag.h"
#include "engine/mp3/id3v2tag.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

namespace {

// Enough for the header and the frames of most tags; larger tags are read on.
constexpr std::size_t kFirstReadSize = 1024;

// What the start of an MP3 file holds.
struct FileStart {
    int32_t result = kMp3TagsRead;  // anything else ends the read with this result
    std::string firstBytes;
    std::optional<uint32_t> id3v2TagSize;  // S, when the file starts with a version 2 tag
};

std::optional<platform::File> OpenForReading(const char* path)
{
    return platform::File::TryOpen(path, platform::File::Mode::Read);
}

std::string ReadUpTo(platform::File& file, std::size_t size)
{
    std::string bytes(size, '\0');
    bytes.resize(file.Read(bytes.data(), size));
    return bytes;
}

FileStart ReadFileStart(platform::File& file)
{
    std::string firstBytes = ReadUpTo(file, kFirstReadSize);
    if (firstBytes.size() < kId3v2HeaderSize) return {file.Length() == 0 ? kMp3EmptyFile : kMp3TooShort, {}, {}};
    if (!HasId3v2Marker(firstBytes)) return {kMp3TagsRead, {}, {}};
    const std::optional<uint32_t> tagSize = Id3v2TagSize(firstBytes);
    if (!tagSize) return {kMp3InvalidTagSize, {}, {}};
    return {kMp3TagsRead, std::move(firstBytes), tagSize};
}

// Scans the S tag bytes after the header, or as many as the file holds. S is the file's own claim
// (up to 256 MiB), so the tag is read through a window rather than whole.
int32_t ScanTag(platform::File& file, const FileStart& start, TrackRecord& record)
{
    const uint64_t length = file.Length();
    const uint64_t held = length > kId3v2HeaderSize ? length - kId3v2HeaderSize : 0;
    Id3v2TagBytes tag(file, kId3v2HeaderSize, std::min<uint64_t>(*start.id3v2TagSize, held),
                      std::string_view(start.firstBytes).substr(kId3v2HeaderSize));
    return ScanId3v2Frames(tag, record);
}

// The last 128 bytes of the file as a version 1 block. Throws for a file shorter than the block (a
// seek before its start), as for any read failure.
int32_t ReadId3v1From(platform::File& file, TrackRecord& record)
{
    file.Seek(-static_cast<int64_t>(kId3v1BlockSize), platform::File::Origin::End);
    const std::string block = ReadUpTo(file, kId3v1BlockSize);
    if (block.size() < kId3v1BlockSize) return kMp3TooShort;
    return ReadId3v1Block(block, record) ? kMp3TagsRead : kMp3NoId3v1Tag;
}

}  // namespace

int32_t ReadMp3Tags(const char* path, TrackRecord* record)
{
    if (path == nullptr || record == nullptr) return kMp3NullArgument;
    std::optional<platform::File> file = OpenForReading(path);
    if (!file) return kMp3CannotOpen;
    try {
        const FileStart start = ReadFileStart(*file);
        if (start.result != kMp3TagsRead) return start.result;
        if (start.id3v2TagSize && ScanTag(*file, start, *record) == kId3v2HitLimit) return kMp3TagsRead;
        // The version 1 block is read through the same open file: one open per file is what a walk
        // of thousands of songs can afford.
        return ReadId3v1From(*file, *record);
    } catch (const platform::FileError&) {
        return kMp3FileException;
    }
}

int32_t ReadId3v1Tag(const char* path, TrackRecord* record)
{
    if (path == nullptr || record == nullptr) return kMp3NullArgument;
    std::optional<platform::File> file = OpenForReading(path);
    if (!file) return kMp3CannotOpen;
    try {
        return ReadId3v1From(*file, *record);
    } catch (const platform::FileError&) {
        return kMp3FileException;
    }
}

}  // namespace engine
