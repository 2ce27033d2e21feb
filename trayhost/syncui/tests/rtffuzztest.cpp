#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

// The fuzz target over truncated and mutated documents, in every build: the help file that ships
// with the program and a document that uses every construct the reader knows. Each input lies in a
// heap buffer of exactly its size, so that a run under a sanitizer reports any read past it.
namespace trayhost {
namespace {

constexpr int kMutationsPerSeed = 2500;

const std::string kConstructs =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Sans;}}{\\colortbl;\\red1\\green2\\blue3;}"
    "{\\*\\generator x;}{\\info{\\title t}}\\uc1\\pard\\plain\\fs20 {\\b\\fs32 Title}\\par "
    "{\\i it}{\\ul ul\\ulnone no}\\b0\\i0 caf\\'e9 \\u8364? \\uc2\\u-10179??\\u-8704??"
    "{\\pict\\bin6 {}\\}{ }\\tab\\line\\emdash\\bullet\\~\\_\\-\\\\\\{\\}\\par\r\n"
    "\\'82\\'a0{\\*\\unknown {nested}}{\\fldinst HYPERLINK}{\\fldrslt shown}\\sect}";

std::string HelpFile()
{
    std::ifstream file(KOVA_SYNC_HELP_FILE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void ReadInput(const std::string& input)
{
    const std::vector<uint8_t> exact(input.begin(), input.end());
    LLVMFuzzerTestOneInput(exact.data(), exact.size());
}

// Flips, inserts or deletes a few bytes; insertions favour the reader's own syntax.
std::string Mutate(std::string bytes, std::mt19937& random)
{
    static const std::string kSyntax[] = {"{", "}", "\\", "\\'", "\\u", "\\bin", "\\uc", "-", "9", "\\*", "\\par "};
    const int edits = std::uniform_int_distribution<int>(1, 8)(random);
    for (int i = 0; i < edits && !bytes.empty(); ++i) {
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
        switch (random() % 3) {
        case 0:
            bytes[at] = static_cast<char>(random() % 256);
            break;
        case 1:
            bytes.insert(at, kSyntax[random() % std::size(kSyntax)]);
            break;
        default:
            bytes.erase(at, std::uniform_int_distribution<std::size_t>(1, 16)(random));
            break;
        }
    }
    return bytes;
}

TEST(RtfFuzzTest, EveryTruncationOfTheConstructs)
{
    for (std::size_t length = 0; length <= kConstructs.size(); ++length) ReadInput(kConstructs.substr(0, length));
}

TEST(RtfFuzzTest, MutatedDocuments)
{
    const std::string help = HelpFile();
    ASSERT_FALSE(help.empty());
    std::mt19937 random(20250613);
    for (const std::string& seed : {kConstructs, help}) {
        for (int i = 0; i < kMutationsPerSeed; ++i) ReadInput(Mutate(seed, random));
    }
}

TEST(RtfFuzzTest, HostileParameters)
{
    for (const char* input : {"\\bin2147483647", "\\bin-5 x", "\\u99999999999999", "\\u-99999999", "\\fs-1 x",
                              "\\uc99999 \\u65? abc", "\\ansicpg99999 \\'41", "\\ansicpg0 x", "{{{{{{{{",
                              "}}}}}}}}x", "\\", "\\'", "\\'4"}) {
        ReadInput(input);
    }
    ReadInput(std::string(100000, '{') + "x" + std::string(100000, '}'));
}

}  // namespace
}  // namespace trayhost
