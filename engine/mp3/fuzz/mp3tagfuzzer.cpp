// libFuzzer target: an MP3 file of the input's bytes through the tag reader, whose record must
// come out sound, and the version 2 tag through the smallest window, which must read as the whole
// tag in memory reads.

#include "engine/mp3/id3v2tag.h"
#include "engine/mp3/mp3tagreader.h"
#include "testsupport/devicetree.h"

#include "platform/files.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

constexpr char kPath[] = "E:\\fuzz.mp3";

const testsupport::TemporaryDevice& Device()
{
    static const testsupport::TemporaryDevice device('E');
    return device;
}

// A new file each time: rewriting one in place makes ext4 flush it to the disk at every close.
void WriteInput(const std::string& name, std::string_view bytes)
{
    std::filesystem::remove(Device().LinuxPath(name));
    Device().WriteFile(name, bytes);
}

bool IsSound(const engine::TrackRecord& record)
{
    for (const char* field : {record.album, record.artist, record.title, record.genre}) {
        if (strnlen(field, engine::kTextFieldSize) == engine::kTextFieldSize) return false;
    }
    return record.trackNumber == engine::kNoTrackNumber || (record.trackNumber >= 0 && record.trackNumber <= 99);
}

bool SameRecord(const engine::TrackRecord& a, const engine::TrackRecord& b)
{
    return std::strcmp(a.album, b.album) == 0 && std::strcmp(a.artist, b.artist) == 0 &&
           std::strcmp(a.title, b.title) == 0 && std::strcmp(a.genre, b.genre) == 0 && a.trackNumber == b.trackNumber;
}

void CheckWindowAgainstWholeTag(std::string_view bytes)
{
    const std::optional<uint32_t> size = engine::Id3v2TagSize(bytes);
    if (!engine::HasId3v2Marker(bytes) || !size) return;
    const std::string_view tag = bytes.substr(engine::kId3v2HeaderSize, *size);
    engine::TrackRecord whole;
    const int32_t wholeHits = engine::ScanId3v2Frames(tag, whole);

    platform::File file = platform::File::Open(kPath, platform::File::Mode::Read);
    engine::Id3v2TagBytes window(file, engine::kId3v2HeaderSize, tag.size(), {}, engine::kFrameLookAhead);
    engine::TrackRecord windowed;
    if (engine::ScanId3v2Frames(window, windowed) != wholeHits || !SameRecord(windowed, whole)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    WriteInput("fuzz.mp3", bytes);
    engine::TrackRecord record;
    const int32_t result = engine::ReadMp3Tags(kPath, &record);
    if (result < engine::kMp3EmptyFile || result > engine::kMp3TagsRead || !IsSound(record)) __builtin_trap();
    CheckWindowAgainstWholeTag(bytes);
    return 0;
}
