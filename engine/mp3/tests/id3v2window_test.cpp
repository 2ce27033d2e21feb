#include "engine/mp3/id3v2tag.h"
#include "engine/mp3/mp3tagreader.h"
#include "testsupport/devicetree.h"
#include "testsupport/id3builder.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <string>

// A tag read through a window gives exactly what the same bytes give in memory, and a tag that
// claims 256 MiB costs a window's memory, not the claim's.
namespace engine {
namespace {

using testsupport::Id3v2Frame;
using testsupport::Id3v2FrameDeclaringSize;
using testsupport::Id3v2TextFrame;

struct ScanOutcome {
    int32_t hits;
    TrackRecord record;
};

void ExpectSameOutcome(const ScanOutcome& windowed, const ScanOutcome& whole, const std::string& label)
{
    EXPECT_EQ(windowed.hits, whole.hits) << label;
    EXPECT_STREQ(windowed.record.album, whole.record.album) << label;
    EXPECT_STREQ(windowed.record.title, whole.record.title) << label;
    EXPECT_STREQ(windowed.record.artist, whole.record.artist) << label;
    EXPECT_STREQ(windowed.record.genre, whole.record.genre) << label;
    EXPECT_EQ(windowed.record.trackNumber, whole.record.trackNumber) << label;
}

// Frames of every kind the scan meets: wanted ones with and without text, other encodings, a
// picture larger than any window, empty frames, identifiers hidden in content, a size past the end.
std::string RandomFrames(std::mt19937& random)
{
    static const char* const kIds[] = {"TIT2", "TPE1", "TALB", "TCON", "TRCK", "APIC", "COMM", "TXXX"};
    std::string frames;
    const int count = std::uniform_int_distribution<int>(1, 12)(random);
    for (int i = 0; i < count; ++i) {
        const std::string id = kIds[random() % std::size(kIds)];
        const std::size_t length = random() % 4 == 0 ? 300 + random() % 3000 : random() % 40;
        std::string text(length, static_cast<char>('a' + random() % 26));
        if (random() % 5 == 0) text.replace(text.size() / 2, 0, "TIT2");
        switch (random() % 6) {
        case 0: frames += Id3v2TextFrame(id, text, 1); break;
        case 1: frames += Id3v2Frame(id, ""); break;
        case 2: frames += std::string(random() % 600, random() % 2 ? 'T' : '\0'); break;
        default: frames += Id3v2TextFrame(id, text); break;
        }
    }
    if (random() % 4 == 0) frames += Id3v2FrameDeclaringSize("TALB", 5000, std::string("\0past", 5));
    return frames;
}

class Id3v2WindowTest : public ::testing::Test {
protected:
    ScanOutcome ScanWhole(const std::string& tag)
    {
        ScanOutcome outcome{};
        outcome.hits = ScanId3v2Frames(tag, outcome.record);
        return outcome;
    }

    // The tag as the file on the device holds it, of which the first 100 bytes were read already.
    ScanOutcome ScanThroughWindow(const std::string& tag, std::size_t windowSize)
    {
        platform::File file = platform::File::Open("E:\\tag.bin", platform::File::Mode::Read);
        const std::string first = tag.substr(0, 100);
        Id3v2TagBytes bytes(file, 0, tag.size(), first, windowSize);
        ScanOutcome outcome{};
        outcome.hits = ScanId3v2Frames(bytes, outcome.record);
        return outcome;
    }

    testsupport::TemporaryDevice device_;
};

TEST_F(Id3v2WindowTest, EveryWindowSizeGivesTheResultsOfTheWholeTag)
{
    std::mt19937 random(1507);
    for (int round = 0; round < 100; ++round) {
        const std::string tag = RandomFrames(random);
        device_.WriteFile("tag.bin", tag);
        const ScanOutcome whole = ScanWhole(tag);
        for (const std::size_t window : {kFrameLookAhead, kFrameLookAhead + 7, std::size_t{4096}}) {
            ExpectSameOutcome(ScanThroughWindow(tag, window), whole,
                              "round " + std::to_string(round) + ", window " + std::to_string(window));
        }
        if (HasFailure()) break;
    }
}

long PeakResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// The largest size an ID3v2 header can state, over a file that really is that long (sparse): its
// one title lies at the very end.
TEST_F(Id3v2WindowTest, ATagClaiming256MiBIsScannedInBoundedMemory)
{
    constexpr uint32_t kClaimed = (1u << 28) - 1;
    const std::string title = Id3v2TextFrame("TIT2", "Far away");
    const std::string path = device_.LinuxPath("huge.mp3");
    {
        std::ofstream out(path, std::ios::binary);
        out << testsupport::Id3v2TagWithSizeBytes({0x7F, 0x7F, 0x7F, 0x7F}, "");
    }
    ASSERT_EQ(truncate(path.c_str(), 10 + kClaimed - title.size()), 0);
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << title;
    }
    // Writing 5 to clear_refs resets the peak resident size (Linux 4.0 and later).
    const bool peakReset = static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5");
    const long before = PeakResidentKilobytes();

    TrackRecord record;
    ReadMp3Tags("E:\\huge.mp3", &record);
    EXPECT_STREQ(record.title, "Far away");
    if (!peakReset || before < 0) GTEST_SKIP() << "the peak resident size cannot be measured here";
    EXPECT_LT(PeakResidentKilobytes() - before, 16 * 1024);
}

}  // namespace
}  // namespace engine
