#include "platform/codepage.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <string_view>

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

// What iconv itself makes of text in which every character converts.
std::string Iconv(const std::string& to, const std::string& from, std::string_view text)
{
    const iconv_t descriptor = iconv_open(to.c_str(), from.c_str());
    std::string output(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    char* out = output.data();
    std::size_t inLeft = text.size();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(descriptor, &in, &inLeft, &out, &outLeft);
    iconv_close(descriptor);
    if (result == static_cast<std::size_t>(-1)) return "<refused>";
    output.resize(output.size() - outLeft);
    return output;
}

// Single-byte pages convert by a table made from iconv: every byte and every character of the page
// must come out as iconv writes it, and what iconv refuses still gets its question marks.
TEST(CodePageTest, SingleBytePagesConvertAsIconvDoes)
{
    for (const int number : {1250, 1251, 1252, 1253, 1257, 437, 850, 866}) {
        const CodePage page(number);
        const std::string name = "CP" + std::to_string(number);
        std::string everyByte;
        for (int byte = 1; byte < 256; ++byte) {
            const std::string text(1, static_cast<char>(byte));
            const std::string utf8 = Iconv("UTF-8", name, text);
            if (utf8 == "<refused>") continue;
            everyByte += text;
            EXPECT_EQ(page.ToUtf8(text), utf8) << name << " byte " << byte;
            EXPECT_EQ(page.FromUtf8(utf8), Iconv(name, "UTF-8", utf8)) << name << " byte " << byte;
        }
        EXPECT_EQ(page.FromUtf8(Iconv("UTF-8", name, everyByte)), everyByte) << name;
    }
    const CodePage page(1252);
    bool replaced = false;
    EXPECT_EQ(page.FromUtf8("\xE0\x83\xA9|\xED\xA0\x80|\xC0\xAE", &replaced), "?|?|?");  // overlong forms, a surrogate
    EXPECT_TRUE(replaced);
    EXPECT_EQ(page.FromUtf8("\u00e9\U0001F600", &replaced), "\xE9?");
}

// Pages whose converter holds a letter back, to join it with an accent that may follow: the text's
// last letter must come out all the same, in either direction.
TEST(CodePageTest, ALetterHeldBackForAnAccentStillEndsTheText)
{
    const CodePage hebrew(1255);
    EXPECT_EQ(hebrew.ToUtf8("\xE0\xE1"), "\u05d0\u05d1");
    EXPECT_EQ(hebrew.ToUtf16("\xE0"), std::u16string(u"\u05d0"));
    EXPECT_EQ(hebrew.FromUtf8("\u05d0\u05d1"), "\xE0\xE1");
    const CodePage vietnamese(1258);
    EXPECT_EQ(vietnamese.ToUtf8("Vi\xEA"), "Vi\u00ea");
    EXPECT_EQ(vietnamese.FromUtf8("Vi\u00ea"), "Vi\xEA");
    EXPECT_EQ(vietnamese.FromUtf16(u"Vi\u00ea"), "Vi\xEA");
    // A letter and the accent after it, two bytes of a name, stay two bytes there and back.
    EXPECT_EQ(vietnamese.FromUtf8(vietnamese.ToUtf8("a\xCC.mp3")), "a\xCC.mp3");
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
