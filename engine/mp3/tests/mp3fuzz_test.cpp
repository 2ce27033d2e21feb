#include "engine/mp3/id3v1tag.h"
#include "engine/mp3/id3v2tag.h"
#include "engine/mp3/mp3tagreader.h"
#include "testsupport/devicetree.h"
#include "testsupport/id3builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

// Truncated and mutated tags through the parsers. Every input lies in a heap buffer of exactly its
// size, so that a run under valgrind or AddressSanitizer reports any read past it.
namespace engine {
namespace {

constexpr int kMutationsPerSeed = 1500;
constexpr int kFileMutations = 150;

std::string SeedTag()
{
    using testsupport::Id3v2TextFrame;
    return testsupport::Id3v2Tag(Id3v2TextFrame("TIT2", "Song") + Id3v2TextFrame("TPE1", " Band ") +
                                     testsupport::Id3v2Frame("COMM", "engnote") + Id3v2TextFrame("TALB", "Record") +
                                     Id3v2TextFrame("TCON", "(999)(13)") + Id3v2TextFrame("TRCK", "7/12"),
                                 16);
}

std::string SeedVersion1Block()
{
    return testsupport::Id3v1Block({.title = "Song", .artist = "Band", .album = "Record", .track = 7, .genre = 13});
}

// Flips a few random bytes; every other mutation also rewrites one 4-byte size field with an
// extreme value, where the frame sizes of the seed are.
std::string Mutate(std::string bytes, std::mt19937& random)
{
    std::uniform_int_distribution<std::size_t> offset(0, bytes.size() - 1);
    std::uniform_int_distribution<int> byteValue(0, 255);
    const int flips = std::uniform_int_distribution<int>(1, 6)(random);
    for (int i = 0; i < flips; ++i) bytes[offset(random)] = static_cast<char>(byteValue(random));
    if (random() % 2 == 0 && bytes.size() > 4) {
        static constexpr uint32_t kSizes[] = {0, 1, 0x7F, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF6};
        const uint32_t size = kSizes[random() % std::size(kSizes)];
        const std::size_t at = offset(random) % (bytes.size() - 3);
        for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(size >> (24 - 8 * i));
    }
    return bytes.substr(0, std::uniform_int_distribution<std::size_t>(0, bytes.size())(random));
}

void ExpectSoundRecord(const TrackRecord& record)
{
    for (const char* field : {record.album, record.artist, record.title, record.genre}) {
        EXPECT_LT(strnlen(field, kTextFieldSize), kTextFieldSize);
    }
    EXPECT_TRUE(record.trackNumber == kNoTrackNumber || (record.trackNumber >= 0 && record.trackNumber <= 99));
}

void ParseExactly(const std::string& bytes)
{
    const std::vector<char> exact(bytes.begin(), bytes.end());
    const std::string_view view(exact.data(), exact.size());
    TrackRecord record;
    if (Id3v2TagSize(view)) {
        const int32_t hits = ScanId3v2Frames(view.substr(kId3v2HeaderSize), record);
        EXPECT_TRUE(hits >= 0 && hits <= kId3v2HitLimit);
    }
    ReadId3v1Block(view.substr(view.size() >= kId3v1BlockSize ? view.size() - kId3v1BlockSize : 0), record);
    ExpectSoundRecord(record);
}

TEST(Mp3FuzzTest, EveryTruncationOfTheSeeds)
{
    const std::string seed = SeedTag() + SeedVersion1Block();
    for (std::size_t length = 0; length <= seed.size(); ++length) ParseExactly(seed.substr(0, length));
}

TEST(Mp3FuzzTest, MutatedTagsAndBlocks)
{
    std::mt19937 random(20240611);
    for (const std::string& seed : {SeedTag(), SeedVersion1Block(), SeedTag() + SeedVersion1Block()}) {
        for (int i = 0; i < kMutationsPerSeed; ++i) ParseExactly(Mutate(seed, random));
    }
}

TEST(Mp3FuzzTest, MutatedFiles)
{
    testsupport::TemporaryDevice device('E');
    std::mt19937 random(7);
    const std::string seed = testsupport::Mp3File(SeedTag(), SeedVersion1Block(), 600);
    for (int i = 0; i < kFileMutations; ++i) {
        device.WriteFile("fuzz.mp3", Mutate(seed, random));
        TrackRecord record;
        const int32_t result = ReadMp3Tags("E:\\fuzz.mp3", &record);
        EXPECT_TRUE(result >= kMp3EmptyFile && result <= kMp3TagsRead) << result;
        ExpectSoundRecord(record);
    }
}

}  // namespace
}  // namespace engine
