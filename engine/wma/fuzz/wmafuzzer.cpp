// libFuzzer target: a WMA file of the input's bytes through the attribute reader. Debian's TagLib
// is not instrumented, so the sanitizers watch our code around it: the header bytes we hand to it,
// the counts we check, and the values we copy out. The record must come out sound.

#include "engine/wma/wmaattributereader.h"
#include "testsupport/devicetree.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The reader's diagnostic lines go to standard output; libFuzzer reports on standard error.
    return std::freopen("/dev/null", "w", stdout) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    WriteInput("fuzz.wma", std::string_view(reinterpret_cast<const char*>(data), size));
    engine::TrackRecord record;
    const int32_t result = engine::ReadWmaAttributes("E:\\fuzz.wma", &record);
    if ((result != engine::kWmaRead && result != engine::kWmaCannotOpen) || !IsSound(record)) __builtin_trap();
    return 0;
}
