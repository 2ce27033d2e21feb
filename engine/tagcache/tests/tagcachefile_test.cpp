#include "engine/tagcache/fnv1a.h"
#include "engine/tagcache/tagcachefile.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace engine {
namespace {

const TagCacheOwner kOwner{"uuid:1A2B-3C4D", 1252};

const std::string kLongAlbum(255, 'a');
const std::string kLongTitle(255, 'z');

std::vector<CachedTags> SampleFiles()
{
    return {
        {"Music\\Band\\01 Song.mp3", {4096, 1'700'000'000'123'456'789}, 1, "Record", "Band", "Song", "Rock", 1},
        {"Talk.wma", {0, -2}, -1, "", "", "", "", kNoTrackNumber},
        {"Long.mp3", {300, 1'600'000'000'000'000'000}, -3, kLongAlbum, "", kLongTitle, "", 99},
    };
}

const WrittenPlaylists kPlaylists{0x0123456789ABCDEF, {{{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, -10}}}};

std::string WriteTagCacheFile(const TagCacheOwner& owner, const std::vector<CachedTags>& files,
                              const std::optional<WrittenPlaylists>& playlists = kPlaylists)
{
    TagCacheWriter writer;
    if (playlists) writer.SetPlaylists(*playlists);
    for (const CachedTags& file : files) writer.Add(file);
    const TagCacheFileBytes file = writer.File(owner);
    std::string bytes;
    for (const std::string_view piece : file.Pieces()) bytes += piece;
    return bytes;
}

// Makes the last 8 bytes the checksum of the rest again, as a writer of that content would have.
std::string Sealed(std::string bytes)
{
    const uint64_t checksum = Fnv1a(std::string_view(bytes).substr(0, bytes.size() - 8));
    for (std::size_t i = 0; i < 8; ++i) bytes[bytes.size() - 8 + i] = static_cast<char>(checksum >> (8 * i));
    return bytes;
}

TEST(TagCacheFileTest, RecordsReadBackAsWritten)
{
    // The records' texts are views of the bytes read: these stay while the records are looked at.
    const std::string bytes = WriteTagCacheFile(kOwner, SampleFiles());
    const std::optional<TagCacheContent> read = ReadTagCacheFile(bytes, kOwner);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->files, SampleFiles());
    EXPECT_EQ(read->playlists, kPlaylists);
    const std::string emptyBytes = WriteTagCacheFile(kOwner, {}, std::nullopt);
    const std::optional<TagCacheContent> empty = ReadTagCacheFile(emptyBytes, kOwner);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->files, std::vector<CachedTags>{});
    EXPECT_EQ(empty->playlists, std::nullopt);
}

// A re-profile keeps some records of the file it read as they are, in another order and between
// new ones: the file it writes must be the one a writer of all of them anew writes.
TEST(TagCacheFileTest, RecordsKeptFromAFileWriteAsRecordsWrittenAnew)
{
    const std::string read = WriteTagCacheFile(kOwner, SampleFiles());
    const std::optional<TagCacheContent> previous = ReadTagCacheFile(read, kOwner);
    ASSERT_TRUE(previous);
    const CachedTags added{"New.mp3", {7, 8}, 1, "A", "B", "C", "D", 3};
    // Kept in a run of two that follow each other in the file, then after a new one, then alone.
    const std::vector<std::size_t> order{0, 1, 99, 2, 0};
    TagCacheWriter writer;
    std::vector<CachedTags> expected;
    for (const std::size_t index : order) {
        if (index == 99) {
            writer.Add(added);
            expected.push_back(added);
        } else {
            writer.AddRecord(previous->fileRecords[index]);
            expected.push_back(previous->files[index]);
        }
    }
    writer.SetPlaylists(kPlaylists);
    const TagCacheFileBytes file = writer.File(kOwner);
    std::string bytes;
    for (const std::string_view piece : file.Pieces()) bytes += piece;
    EXPECT_EQ(bytes, WriteTagCacheFile(kOwner, expected));
}

// Every way a cache file can be wrong, each refused as a whole.
TEST(TagCacheFileTest, AnyFileThatIsNotExactlyOursIsRefused)
{
    const std::string good = WriteTagCacheFile(kOwner, SampleFiles());
    const std::size_t playlists = 8 + 4 + 4 + 2 + kOwner.deviceIdentity.size();
    const std::size_t firstRecord = playlists + 1 + 8 + 5 * 16;
    const std::size_t trailer = good.size() - 12;
    const struct {
        const char* fault;
        std::function<std::string()> bytes;
        TagCacheOwner owner = kOwner;
    } cases[] = {
        {"a byte changed", [&] { return std::string(good).replace(firstRecord + 3, 1, "X"); }},
        {"another version", [&] { return Sealed(std::string(good).replace(8, 1, "\x02")); }},
        {"another code page", [&] { return good; }, {kOwner.deviceIdentity, 932}},
        {"another device", [&] { return good; }, {"uuid:1A2B-3C4E", 1252}},
        {"no magic", [&] { return Sealed(std::string(good).replace(0, 4, "KOVX")); }},
        {"a playlist flag of neither value", [&] { return Sealed(std::string(good).replace(playlists, 1, "\x02")); }},
        {"a count too high", [&] { return Sealed(std::string(good).replace(trailer, 1, "\x04")); }},
        {"a count too low", [&] { return Sealed(std::string(good).replace(trailer, 1, "\x02")); }},
        {"a path running past the end", [&] { return Sealed(std::string(good).replace(firstRecord, 2, "\xff\x7f")); }},
        {"bytes after the records", [&] { return Sealed(std::string(good).insert(trailer, "x")); }},
    };
    for (const auto& c : cases) EXPECT_FALSE(ReadTagCacheFile(c.bytes(), c.owner)) << c.fault;
    for (std::size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(ReadTagCacheFile(good.substr(0, length), kOwner)) << "truncated to " << length;
    }
}

// Mutated files through the fuzz target, each in a buffer of exactly its size, so that a run under
// AddressSanitizer reports any read past it. The target seals each input, so the records are
// reached, and checks that whatever reads also writes back to the same bytes.
TEST(TagCacheFileTest, MutatedFilesReadOrStopCleanly)
{
    std::mt19937 random(1912);
    const std::string seed = WriteTagCacheFile({"folder:/media/KOVA", 1252}, SampleFiles());
    for (int i = 0; i < 4000; ++i) {
        std::string bytes = seed;
        std::uniform_int_distribution<std::size_t> offset(0, bytes.size() - 1);
        for (int flips = 1 + static_cast<int>(random() % 3); flips > 0; --flips) bytes[offset(random)] = static_cast<char>(random());
        bytes.resize(std::uniform_int_distribution<std::size_t>(bytes.size() / 2, bytes.size())(random));
        const std::vector<uint8_t> exact(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(exact.data(), exact.size());
    }
}

}  // namespace
}  // namespace engine
