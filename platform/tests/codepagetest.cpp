#include "platform/codepage.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

namespace {

using platform::CodePage;

// Runs a test under another system code page and puts Windows-1252 back afterwards.
class ShiftJisTest : public ::testing::Test {
protected:
    void SetUp() override { CodePage::SetSystem(932); }
    void TearDown() override { CodePage::SetSystem(1252); }
};

// "ア" in Shift-JIS: a lead byte and a trail byte that is the letter 'A' on its own.
constexpr char kKatakanaA[] = "\x83\x41";
// "表" in Shift-JIS: its trail byte is a backslash on its own.
constexpr char kTableKanji[] = "\x95\x5C";

TEST(CodePageTest, AccentedLettersBecomeWindows1252Bytes)
{
    const CodePage page(1252);
    EXPECT_EQ(page.FromUtf8("Caf\u00e9 \u00fcber \u20ac"), "Caf\xE9 \xFC" "ber \x80");
    EXPECT_EQ(page.ToUtf8("Caf\xE9 \xFC" "ber \x80"), "Caf\u00e9 \u00fcber \u20ac");
}

TEST(CodePageTest, CharactersThePageLacksBecomeQuestionMarks)
{
    const CodePage page(1252);
    EXPECT_EQ(page.FromUtf8("a\u0101b\u6f22.mp3"), "a?b?.mp3");
    EXPECT_EQ(page.FromUtf8("x\xFF\xC3y"), "x??y");  // not UTF-8 at all
    EXPECT_EQ(page.ToUtf8("a\x81" "b"), "a?b");       // a byte 1252 leaves undefined
    EXPECT_EQ(page.FromUtf16(u"a\u0101\U0001F600b"), "a??b");
}

TEST(CodePageTest, Utf16RoundTripAndInvalidText)
{
    const CodePage page(1252);
    EXPECT_EQ(page.ToUtf16("Caf\xE9"), std::u16string(u"Caf\u00e9"));
    EXPECT_FALSE(page.ToUtf16("a\x81").has_value());
}

TEST(CodePageTest, UnknownPageIsRefused)
{
    EXPECT_THROW(CodePage(99999), std::invalid_argument);
    EXPECT_THROW(CodePage::SetSystem(99999), std::invalid_argument);
    EXPECT_EQ(CodePage::System().number(), 1252);
}

TEST(CodePageTest, SingleBytePageHasNoLeadBytes)
{
    const CodePage page(1252);
    for (int byte = 0; byte < 256; ++byte) EXPECT_FALSE(page.IsLeadByte(static_cast<unsigned char>(byte)));
}

TEST(CompareNoCaseTest, FoldsOnlyAsciiLettersToLowerCase)
{
    EXPECT_EQ(platform::CompareNoCase("Music\\A.MP3", "music\\a.mp3"), 0);
    EXPECT_LT(platform::CompareNoCase("abc", "ABD"), 0);
    EXPECT_LT(platform::CompareNoCase("ab", "ABC"), 0);
    // Letters fold to lower case, so 'Z' sorts after '_' (0x5F).
    EXPECT_GT(platform::CompareNoCase("Z", "_"), 0);
    // Other bytes compare unsigned and unfolded.
    EXPECT_GT(platform::CompareNoCase("\xE9", "z"), 0);
    EXPECT_FALSE(platform::EqualsNoCase("\xE9", "\xC9"));
    EXPECT_EQ(platform::ToLowerNoCase("ABC\xC9z"), "abc\xC9z");
}

TEST_F(ShiftJisTest, LeadBytesComeFromTheConverter)
{
    const CodePage& page = CodePage::System();
    EXPECT_EQ(page.number(), 932);
    EXPECT_TRUE(page.IsLeadByte(0x81));
    EXPECT_TRUE(page.IsLeadByte(0x9F));
    EXPECT_TRUE(page.IsLeadByte(0xE0));
    EXPECT_FALSE(page.IsLeadByte(0x41));
    EXPECT_FALSE(page.IsLeadByte(0xA1));  // half-width katakana: one byte
    EXPECT_EQ(page.CharacterSize(kKatakanaA, 0), 2u);
    EXPECT_EQ(page.CharacterSize("\x83", 0), 1u);  // a lead byte at the end stands alone
}

TEST_F(ShiftJisTest, TrailBytesAreNeverFolded)
{
    EXPECT_EQ(platform::ToLowerNoCase(std::string("AB") + kKatakanaA + "C"), std::string("ab") + kKatakanaA + "c");
    EXPECT_FALSE(platform::EqualsNoCase(kKatakanaA, "\x83\x61"));
    EXPECT_TRUE(platform::EqualsNoCase(std::string(kKatakanaA) + "X", std::string(kKatakanaA) + "x"));
}

TEST_F(ShiftJisTest, TrailBackslashDoesNotEndAPath)
{
    EXPECT_FALSE(platform::EndsWithBackslash(std::string("E:\\") + kTableKanji));
    EXPECT_EQ(platform::JoinPath(std::string("E:\\") + kTableKanji, "a"), std::string("E:\\") + kTableKanji + "\\a");
    EXPECT_EQ(CodePage::System().ToUtf8(kTableKanji), "\u8868");
}

}  // namespace
