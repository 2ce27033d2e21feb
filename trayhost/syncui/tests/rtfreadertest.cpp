#include "trayhost/syncui/rtfreader.h"

#include <gtest/gtest.h>

#include <string>

namespace trayhost {
namespace {

using namespace std::string_literals;

// A document in short: paragraphs separated by '|', each run led by its format in angle brackets
// (b bold, i italic, u underline, then the size in half points when it is not 24).
std::string Describe(const RtfDocument& document)
{
    std::string text;
    for (std::size_t p = 0; p < document.paragraphs.size(); ++p) {
        if (p > 0) text += '|';
        for (const RtfRun& run : document.paragraphs[p].runs) {
            text += '<';
            if (run.format.bold) text += 'b';
            if (run.format.italic) text += 'i';
            if (run.format.underline) text += 'u';
            if (run.format.halfPoints != kRtfDefaultHalfPoints) text += std::to_string(run.format.halfPoints);
            text += '>' + run.text;
        }
    }
    return text;
}

struct Case {
    const char* name;
    std::string rtf;
    std::string expected;
};

class RtfReaderTest : public testing::TestWithParam<Case> {};

TEST_P(RtfReaderTest, Reads)
{
    EXPECT_EQ(Describe(ReadRtf(GetParam().rtf)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfReaderTest,
    testing::Values(
        Case{"ParagraphsAndLineEndsOfTheFile", "{\\rtf1 Hello\r\n world\\par\nNext\\par}", "<>Hello world|<>Next"},
        Case{"EmptyParagraphsStay", "{\\rtf1 a\\par\\par b}", "<>a||<>b"},
        Case{"GroupsRestoreTheFormat", "{\\rtf1 a{\\b b{\\i c}}d}", "<>a<b>b<bi>c<>d"},
        Case{"SwitchesWithZeroTurnOff", "{\\rtf1\\b\\i\\ul x\\b0 y\\i0\\ulnone z}", "<biu>x<iu>y<>z"},
        Case{"PlainResetsTheCharacterFormat", "{\\rtf1\\b\\fs40 x\\plain y}", "<b40>x<>y"},
        Case{"FontSizesStayInBounds", "{\\rtf1\\fs20 a\\fs0 b\\fs9999 c\\fs2 d}", "<20>a<>b<288>c<8>d"},
        Case{"TheDelimitingSpaceBelongsToTheWord", "{\\rtf1\\b1  x}", "<b> x"},
        Case{"EscapedSyntaxIsText", "{\\rtf1 \\\\ \\{ \\}}", "<>\\ { }"},
        Case{"HexBytesInTheDefaultCodePage", "{\\rtf1 caf\\'e9 \\'80}", "<>café €"},
        Case{"HexBytesOfADoubleByteCodePage", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}", "<>あ"},
        Case{"AnUnknownCodePageLeavesTheSystemOne", "{\\rtf1\\ansicpg77777 \\'e9}", "<>é"},
        Case{"AHexEscapeWithoutDigitsIsDropped", "{\\rtf1 \\'zz}", "<>zz"},
        Case{"UnicodeSkipsItsFallback", "{\\rtf1 \\u8364?x \\uc2\\u8364??y \\uc0\\u8364 z}", "<>€x €y €z"},
        Case{"NegativeUnicodeAndSurrogatePairs", "{\\rtf1 \\u-3?\\u-10179?\\u-8704?}", "<>\xEF\xBF\xBD😀"},
        Case{"LoneSurrogatesAreReplaced", "{\\rtf1 \\u-10179?x\\u-8704?}", "<>\xEF\xBF\xBDx\xEF\xBF\xBD"},
        Case{"NamedCharacters", "{\\rtf1 a\\tab b\\line c\\emdash\\bullet\\~\\ldblquote q\\rdblquote\\rquote}",
             "<>a\tb\nc—•\xC2\xA0“q”’"},
        Case{"TablesAndPicturesAreSkipped",
             "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0;}{\\stylesheet{\\s0 Normal;}}"
             "{\\info{\\title T}}{\\pict\\pngblip 89504e47}x}",
             "<>x"},
        Case{"UnknownStarredDestinationsAreSkipped", "{\\rtf1{\\*\\generator Pad;}{\\*\\x {y}}z}", "<>z"},
        Case{"FieldsShowTheirResult", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK a}{\\fldrslt shown}}}", "<>shown"},
        Case{"BinaryDataIsSkippedWholeAndNotPastTheEnd", "{\\rtf1{\\pict\\bin3 }{x}y}z\\bin99 abc",
             "<>yz"},
        Case{"UnbalancedGroupsDoNoHarm", "}}{\\rtf1{\\b x}}}y{", "<b>x<>y"},
        Case{"ControlBytesOfTheFileAreNotText", "{\\rtf1 a\0b\x01\\'01\\'09c}"s, "<>ab\tc"},
        // In an EBCDIC page '/' is BEL and '7' is EOT.
        Case{"ControlCharactersOfTheCodePageAreNotText", "{\\rtf1\\ansicpg500 /7\\'c1}", "<>A"}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trayhost
