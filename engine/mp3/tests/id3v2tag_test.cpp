#include "engine/mp3/id3v2tag.h"
#include "testsupport/id3builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace engine {
namespace {

using testsupport::Id3v2Frame;
using testsupport::Id3v2FrameDeclaringSize;
using testsupport::Id3v2TextFrame;

std::string Header(std::array<uint8_t, 4> sizeBytes)
{
    return testsupport::Id3v2TagWithSizeBytes(sizeBytes, "");
}

TEST(Id3v2TagSizeTest, ReadsFourSevenBitGroups)
{
    EXPECT_EQ(Id3v2TagSize(Header({0x00, 0x00, 0x02, 0x01})), 257u);
    EXPECT_EQ(Id3v2TagSize(Header({0x7F, 0x7F, 0x7F, 0x7F})), (1u << 28) - 1);
}

TEST(Id3v2TagSizeTest, RejectsInvalidSizes)
{
    EXPECT_EQ(Id3v2TagSize(Header({0x00, 0x00, 0x00, 0x00})), std::nullopt);
    // size_byte_top_bit
    EXPECT_EQ(Id3v2TagSize(Header({0x00, 0x00, 0x80, 0x00})), std::nullopt);
    EXPECT_EQ(Id3v2TagSize(Header({0x00, 0x00, 0x00, 0xFF})), std::nullopt);
    EXPECT_EQ(Id3v2TagSize("ID3\x03"), std::nullopt);
}

class ScanId3v2FramesTest : public testing::Test {
protected:
    // Scans from a buffer of exactly the frames' size, so that a sanitizer sees any read past it.
    int32_t Scan(const std::string& frames)
    {
        const std::vector<char> exact(frames.begin(), frames.end());
        return ScanId3v2Frames(std::string_view(exact.data(), exact.size()), record_);
    }

    TrackRecord record_;
};

TEST_F(ScanId3v2FramesTest, ReadsAllFiveFrames)
{
    EXPECT_EQ(Scan(Id3v2TextFrame("TIT2", "Song") + Id3v2TextFrame("TPE1", "Band") + Id3v2TextFrame("TALB", "Record") +
                   Id3v2TextFrame("TCON", "(8)") + Id3v2TextFrame("TRCK", "7/12")),
              5);
    EXPECT_EQ(TextOf(record_.title), "Song");
    EXPECT_EQ(TextOf(record_.artist), "Band");
    EXPECT_EQ(TextOf(record_.album), "Record");
    EXPECT_EQ(TextOf(record_.genre), "Jazz");
    EXPECT_EQ(record_.trackNumber, 7);
}

TEST_F(ScanId3v2FramesTest, TrimsTexts)
{
    Scan(Id3v2TextFrame("TIT2", "  Song ") + Id3v2TextFrame("TALB", " Record") + Id3v2TextFrame("TCON", " Jazz "));
    EXPECT_EQ(TextOf(record_.title), "Song");
    EXPECT_EQ(TextOf(record_.album), "Record");
    EXPECT_EQ(TextOf(record_.genre), "Jazz");
}

TEST_F(ScanId3v2FramesTest, Title300BytesKeepsFirst255)
{
    const std::string text = std::string(255, 'a') + std::string(45, 'b');
    EXPECT_EQ(Scan(Id3v2TextFrame("TIT2", text) + Id3v2TextFrame("TPE1", "After")), 2);
    EXPECT_EQ(TextOf(record_.title), std::string(255, 'a'));
    EXPECT_EQ(TextOf(record_.artist), "After");
}

TEST_F(ScanId3v2FramesTest, OtherEncodingsCountButGiveNoTextAndTheirContentIsScanned)
{
    // A UTF-16 title whose content happens to hold a whole artist frame: the scan steps over the
    // 10-byte header only, as the player does, and so finds the artist inside.
    const std::string inner = Id3v2TextFrame("TPE1", "Inner");
    EXPECT_EQ(Scan(Id3v2TextFrame("TIT2", inner, 1)), 2);
    EXPECT_EQ(TextOf(record_.title), "");
    EXPECT_EQ(TextOf(record_.artist), "Inner");
}

TEST_F(ScanId3v2FramesTest, RepeatedFramesUseUpTheFiveHits)
{
    std::string frames;
    for (int i = 0; i < 5; ++i) frames += Id3v2TextFrame("TIT2", "Take " + std::to_string(i));
    EXPECT_EQ(Scan(frames + Id3v2TextFrame("TPE1", "Never read")), 5);
    EXPECT_EQ(TextOf(record_.title), "Take 4");
    EXPECT_EQ(TextOf(record_.artist), "");
}

TEST_F(ScanId3v2FramesTest, CrossesOtherFramesAndPadding)
{
    EXPECT_EQ(Scan(Id3v2Frame("COMM", "engnote") + Id3v2TextFrame("TIT1", "Group") + Id3v2TextFrame("TIT2", "Song") +
                   std::string(40, '\0')),
              1);
    EXPECT_EQ(TextOf(record_.title), "Song");
}

struct TrackCase {
    std::string text;
    int32_t expected;
};

void PrintTo(const TrackCase& c, std::ostream* os)
{
    *os << "TRCK \"" << c.text << '"';
}

class TrackNumberTest : public ScanId3v2FramesTest, public testing::WithParamInterface<TrackCase> {};

TEST_P(TrackNumberTest, ConvertsTrck)
{
    record_.trackNumber = 42;
    Scan(Id3v2TextFrame("TRCK", GetParam().text));
    EXPECT_EQ(record_.trackNumber, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TrackNumberTest,
    testing::Values(TrackCase{"7/12", 7}, TrackCase{"0", 0}, TrackCase{"99", 99}, TrackCase{"100", kNoTrackNumber},
                    TrackCase{"", kNoTrackNumber}, TrackCase{" \t5", 5}, TrackCase{"+3", 3},
                    TrackCase{"-1", kNoTrackNumber}, TrackCase{"-0", 0}, TrackCase{"abc", 0}, TrackCase{"/12", 0},
                    TrackCase{std::string("4\0" "2", 3), 4},
                    TrackCase{"99999999999999999999", kNoTrackNumber}));

// Regression inputs for tags whose frames do not fit the bytes obtained.
TEST_F(ScanId3v2FramesTest, FrameSizePastTagEndsTheScan)
{
    EXPECT_EQ(Scan(Id3v2TextFrame("TPE1", "Band") + Id3v2FrameDeclaringSize("TIT2", 1000, std::string("\0Song", 5))), 1);
    EXPECT_EQ(TextOf(record_.artist), "Band");
    EXPECT_EQ(TextOf(record_.title), "");
}

TEST_F(ScanId3v2FramesTest, HugeFrameSizeEndsTheScan)
{
    EXPECT_EQ(Scan(Id3v2FrameDeclaringSize("TIT2", 0xFFFFFFFF, std::string("\0Song", 5))), 0);
    EXPECT_EQ(Scan(Id3v2FrameDeclaringSize("TALB", 0xFFFFFFF6, std::string("\0Song", 5))), 0);
}

TEST_F(ScanId3v2FramesTest, IdAtTagEndIsNotRead)
{
    EXPECT_EQ(Scan(Id3v2TextFrame("TPE1", "Band") + "TIT"), 1);
    EXPECT_EQ(Scan("TIT2"), 0);
    EXPECT_EQ(Scan(std::string("TIT2\0\0\0\x01\0", 9)), 0);
    EXPECT_EQ(TextOf(record_.title), "");
}

TEST_F(ScanId3v2FramesTest, ZeroFrameSizeGivesEmptyText)
{
    record_.trackNumber = 3;
    SetText(record_.title, "Old");
    EXPECT_EQ(Scan(Id3v2Frame("TIT2", "") + Id3v2Frame("TRCK", "") + Id3v2TextFrame("TPE1", "Band")), 3);
    EXPECT_EQ(TextOf(record_.title), "");
    EXPECT_EQ(record_.trackNumber, kNoTrackNumber);
    EXPECT_EQ(TextOf(record_.artist), "Band");
}

}  // namespace
}  // namespace engine
