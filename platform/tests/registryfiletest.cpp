#include "platform/registryfile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace {

using namespace platform;
using namespace std::string_literals;

RegistryNode SampleTree()
{
    RegistryNode top;
    RegistryNode& profile = top.AddSubkey("HKEY_LOCAL_MACHINE").AddSubkey("Software").AddSubkey("KovaSync");
    profile.AddSubkey("Options").SetValue("", kRegDword, "\x01\x00\x00\x00"s);
    profile.AddSubkey("DeviceID").SetValue("", kRegDword, "E");
    profile.AddSubkey("empty");
    RegistryNode& item = profile.AddSubkey("SyncPaths").AddSubkey("0");
    item.SetValue("PC", kRegSz, "Z:\\home\\\"me\"\0"s);
    item.SetValue("Two lines", kRegSz, "a\nb\0"s);
    item.SetValue("Raw", kRegBinary, "\x00\xff"s);
    return top;
}

// Keys sorted as Windows enumerates them, whatever order they were made in; a REG_DWORD of one
// byte and texts that the quoted form cannot hold keep their exact bytes.
constexpr std::string_view kSampleText =
    "REGEDIT4\n"
    "\n[HKEY_LOCAL_MACHINE]\n"
    "\n[HKEY_LOCAL_MACHINE\\Software]\n"
    "\n[HKEY_LOCAL_MACHINE\\Software\\KovaSync]\n"
    "\n[HKEY_LOCAL_MACHINE\\Software\\KovaSync\\DeviceID]\n"
    "@=hex(4):45\n"
    "\n[HKEY_LOCAL_MACHINE\\Software\\KovaSync\\empty]\n"
    "\n[HKEY_LOCAL_MACHINE\\Software\\KovaSync\\Options]\n"
    "@=dword:00000001\n"
    "\n[HKEY_LOCAL_MACHINE\\Software\\KovaSync\\SyncPaths]\n"
    "\n[HKEY_LOCAL_MACHINE\\Software\\KovaSync\\SyncPaths\\0]\n"
    "\"PC\"=\"Z:\\\\home\\\\\\\"me\\\"\"\n"
    "\"Two lines\"=hex(1):61,0a,62,00\n"
    "\"Raw\"=hex:00,ff\n";

TEST(RegistryFileTest, WritesEachKindOfValueInItsNotation)
{
    EXPECT_EQ(FormatRegistryFile(SampleTree()), kSampleText);
}

TEST(RegistryFileTest, ReadsBackWhatItWrites)
{
    RegistryFileError error;
    const std::optional<RegistryNode> tree = ParseRegistryFile(kSampleText, error);
    ASSERT_TRUE(tree) << error.line << ": " << error.reason;
    EXPECT_TRUE(*tree == SampleTree());
}

TEST(RegistryFileTest, ReadsTheRegistryEditorsExports)
{
    const std::string exported = "Windows Registry Editor Version 5.00\r\n\r\n"
                                 "; the profile\r\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\KovaSync\\Options]\r\n"
                                 "@ = dword:2\r\n"
                                 "\"Raw\"=hex:01,02,\\\r\n"
                                 "  03\r\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\kovasync\\OPTIONS]\r\n"
                                 "\"raw\"=hex(0):\r\n";
    RegistryFileError error;
    const std::optional<RegistryNode> tree = ParseRegistryFile(exported, error);
    ASSERT_TRUE(tree) << error.line << ": " << error.reason;

    RegistryNode expected;
    RegistryNode& options = expected.AddSubkey("HKEY_LOCAL_MACHINE").AddSubkey("Software").AddSubkey("KovaSync").AddSubkey("Options");
    options.SetValue("", kRegDword, "\x02\x00\x00\x00"s);
    options.SetValue("Raw", 0, "");
    EXPECT_TRUE(*tree == expected) << FormatRegistryFile(*tree);
}

struct FaultyFile {
    const char* name;
    std::string text;
    std::size_t line;
};

class RegistryFileFaultTest : public testing::TestWithParam<FaultyFile> {};

TEST_P(RegistryFileFaultTest, IsRefusedAtTheLineOfItsFault)
{
    RegistryFileError error;
    EXPECT_FALSE(ParseRegistryFile(GetParam().text, error));
    EXPECT_EQ(error.line, GetParam().line) << error.reason;
}

const std::string kKey = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, RegistryFileFaultTest,
    testing::Values(FaultyFile{"no_header", "[HKEY_LOCAL_MACHINE]\n", 1},
                    FaultyFile{"unclosed_key", "REGEDIT4\n[HKEY_LOCAL_MACHINE\n", 2},
                    FaultyFile{"empty_key_name", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\\\K]\n", 2},
                    FaultyFile{"key_deletion", "REGEDIT4\n[-HKEY_LOCAL_MACHINE\\K]\n", 2},
                    FaultyFile{"value_before_key", "REGEDIT4\n@=dword:1\n", 2},
                    FaultyFile{"dword_too_long", kKey + "@=dword:123456789\n", 3},
                    FaultyFile{"unknown_escape", kKey + "@=\"a\\n\"\n", 3},
                    FaultyFile{"hex_byte_too_long", kKey + "@=hex:100\n", 3},
                    FaultyFile{"continuation_at_end", kKey + "@=hex:01,\\\n", 3},
                    FaultyFile{"keys_too_deep", "REGEDIT4\n[HKEY_LOCAL_MACHINE" + [] {
                                   std::string path;
                                   for (std::size_t i = 0; i < kMaxKeyDepth; ++i) path += "\\k";
                                   return path;
                               }() + "]\n",
                               2}),
    [](const testing::TestParamInfo<FaultyFile>& info) { return std::string(info.param.name); });

// Flips bytes, cuts lines short and repeats pieces of the sample, and hands each result to the fuzz target.
std::string Mutate(std::string text, std::mt19937& random)
{
    std::uniform_int_distribution<std::size_t> offset(0, text.size() - 1);
    switch (random() % 3) {
    case 0:
        for (int flips = 1 + random() % 4; flips > 0; --flips) text[offset(random)] = static_cast<char>(random());
        break;
    case 1: text.erase(offset(random), 1 + random() % 12); break;
    default: {
        const std::size_t from = offset(random);
        text.insert(offset(random), text.substr(from, 1 + random() % 40));
    }
    }
    return text;
}

TEST(RegistryFileFuzzTest, MutatedFilesParseOrFailCleanly)
{
    std::mt19937 random(20240611);
    const std::string seed(kSampleText);
    for (std::size_t length = 0; length <= seed.size(); ++length) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(seed.data()), length);
    }
    for (int i = 0; i < 4000; ++i) {
        const std::string text = Mutate(seed, random);
        const std::vector<uint8_t> exact(text.begin(), text.end());
        LLVMFuzzerTestOneInput(exact.data(), exact.size());
    }
}

}  // namespace
