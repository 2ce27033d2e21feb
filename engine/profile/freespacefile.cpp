#include "engine/profile/freespacefile.h"

#include "engine/api/devicefolders.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace engine {

namespace {

constexpr std::size_t kFreeSpaceFileSize = 8;

std::array<unsigned char, kFreeSpaceFileSize> LittleEndian(uint64_t value)
{
    std::array<unsigned char, kFreeSpaceFileSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    return bytes;
}

void WriteValue(platform::File& file, uint64_t value)
{
    const auto bytes = LittleEndian(value);
    file.Write(bytes.data(), bytes.size());
}

}  // namespace

void WriteFreeSpaceFile(const char* root)
{
    const std::string path = platform::JoinPath(platform::JoinPath(root, std::string(kDeviceFolderName)), "pfr.bin");
    try {
        std::optional<platform::File> file = platform::File::TryOpen(path, platform::File::Mode::CreateTruncate);
        if (!file) return;
        const std::optional<uint64_t> first = platform::GetDiskFreeSpace(root);
        if (first) WriteValue(*file, *first);
        file->Close();
        if (!first) return;

        // Writing the file may have used a cluster, so measure again and keep the value current.
        const std::optional<uint64_t> second = platform::GetDiskFreeSpace(root);
        if (!second || second == first) return;
        platform::File again = platform::File::Open(path, platform::File::Mode::CreateTruncate);
        again.Seek(0, platform::File::Origin::Begin);
        WriteValue(again, *second);
        again.Close();
    } catch (const platform::FileError&) {
        // Best effort: the player copes with a missing or stale free-space file.
    }
}

}  // namespace engine
