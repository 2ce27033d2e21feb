// libFuzzer target for the tag cache reader. Each input is sealed first (its last 8 bytes made the
// checksum of the rest), so that what lies behind the checksum is fuzzed too. Any bytes are either
// refused or give a content that is written back to the very same bytes. Also run over mutated
// inputs by tagcachefile_test.cpp.

#include "engine/tagcache/fnv1a.h"
#include "engine/tagcache/tagcachefile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    constexpr std::size_t kChecksumSize = 8;
    // The owner the seeds were written for (fuzz/seeds).
    const engine::TagCacheOwner owner{"folder:/media/KOVA", 1252};

    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.size() >= kChecksumSize) {
        const uint64_t checksum = engine::Fnv1a(std::string_view(bytes).substr(0, bytes.size() - kChecksumSize));
        for (std::size_t i = 0; i < kChecksumSize; ++i) {
            bytes[bytes.size() - kChecksumSize + i] = static_cast<char>(checksum >> (8 * i));
        }
    }
    const std::optional<engine::TagCacheContent> content = engine::ReadTagCacheFile(bytes, owner);
    if (!content) return 0;
    engine::TagCacheWriter writer;
    if (content->playlists) writer.SetPlaylists(*content->playlists);
    for (const engine::CachedTags& file : content->files) writer.Add(file);
    const engine::TagCacheFileBytes file = writer.File(owner);
    std::string written;
    for (const std::string_view piece : file.Pieces()) written += piece;
    if (written != bytes) __builtin_trap();
    return 0;
}
