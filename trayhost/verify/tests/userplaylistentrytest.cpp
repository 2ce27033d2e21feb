#include "trayhost/verify/playlistlines.h"
#include "trayhost/verify/userplaylistentry.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trayhost {
namespace {

using namespace std::string_literals;

TEST(PlaylistLinesTest, TerminatorGoesWithTheLineUnlessItIsALoneCarriageReturn)
{
    struct Case {
        const char* name;
        std::string content;
        std::vector<std::pair<std::size_t, std::size_t>> lines;  // start, end
        std::string remaining;
        std::size_t next;  // after the last removal
    };
    const Case cases[] = {
        {"CR LF, both bytes", "a\r\nb\r\n", {{0, 1}}, "b\r\n", 3},
        {"LF", "a\nb\n", {{0, 1}}, "b\n", 2},
        {"lone CR stays as an empty line", "a\rb\r", {{0, 1}}, "\rb\r", 1},
        {"last line before the end", "a\r\nbc\r\n", {{3, 5}}, "a\r\n", 7},
        {"lines around a kept one", "a\nbc\nd\n", {{0, 1}, {5, 6}}, "bc\n", 7},
        {"a line before one removed is left", "a\nb\n", {{2, 3}, {0, 1}}, "a\n", 1},
        {"a line past the end is left", "a\n", {{0, 5}}, "a\n", 5},
    };
    for (const Case& c : cases) {
        PlaylistLines lines(c.content);
        std::size_t next = 0;
        for (const auto& [start, end] : c.lines) next = lines.Remove(start, end);
        EXPECT_EQ(lines.Remaining(), c.remaining) << c.name;
        EXPECT_EQ(next, c.next) << c.name;
        EXPECT_EQ(lines.content(), c.content) << c.name;
    }
}

TEST(ReadEntryTest, LinesPassedOverAndEntriesWithTheirInvalidFlag)
{
    struct Case {
        std::string line;
        std::optional<std::string> text;  // empty: passed over
        bool invalid = false;
    };
    const Case cases[] = {
        {"#EXTM3U", std::nullopt},
        {"  #EXTINF:123,Artist - Title", std::nullopt},
        {"", std::nullopt},
        {"    ", std::nullopt},
        {"\t", std::nullopt},
        {"\t \x7f", std::nullopt},
        {" \t", "\t", true},  // a leading space keeps a line of control characters an entry
        {"  Music\\a.mp3 ", "Music\\a.mp3 "},
        {"a\tb.mp3", "a\tb.mp3", true},
        {"a\x7f.mp3", "a\x7f.mp3", true},
        {"caf\xe9.mp3", "caf\xe9.mp3"},
        {"a.mp3\0\tjunk"s, "a.mp3"},
        {std::string(300, 'a'), std::string(260, 'a')},
    };
    for (const Case& c : cases) {
        const std::optional<UserPlaylistEntry> entry = ReadEntry(c.line);
        ASSERT_EQ(entry.has_value(), c.text.has_value()) << c.line;
        if (!entry) continue;
        EXPECT_EQ(entry->text, *c.text) << c.line;
        EXPECT_EQ(entry->invalid, c.invalid) << c.line;
    }
}

TEST(ReadEntryTest, CutNeverSplitsADoubleByteCharacter)
{
    platform::CodePage::SetSystem(932);
    // 259 bytes, then a two-byte character whose second byte would be the 261st.
    const std::optional<UserPlaylistEntry> entry = ReadEntry(std::string(259, 'a') + "\x83\x5c" + "b");
    platform::CodePage::SetSystem(1252);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, std::string(259, 'a'));
}

TEST(ResolveEntryTest, EachFormOfEntryNamesAPathOnTheDevice)
{
    const std::string folder = "E:\\kovahdd_playlists";
    struct Case {
        std::string entry;
        std::string resolved;
    };
    const Case cases[] = {
        {"C:\\Music\\song.mp3", "E:\\Music\\song.mp3"},
        {"\\Music\\song.mp3", "E:\\Music\\song.mp3"},
        {".\\song.mp3", "E:\\kovahdd_playlists\\song.mp3"},
        {"sub\\song.mp3", "E:\\kovahdd_playlists\\sub\\song.mp3"},
        {"..\\x.mp3", "E:\\x.mp3"},
        {"..\\\\x.mp3", "E:\\x.mp3"},
        {"..\\..\\x.mp3", "..\\..\\x.mp3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResolveEntry({c.entry, false}, 'E', folder), c.resolved) << c.entry;
    }
    EXPECT_EQ(ResolveEntry({"C:\\a\tb.mp3", true}, 'E', folder), "C:\\a\tb.mp3");
}

TEST(ResolveEntryTest, PlaylistNameAndFolderComeFromItsPath)
{
    EXPECT_EQ(PlaylistFolderOf("E:\\kovahdd_playlists\\list.m3u"), "E:\\kovahdd_playlists");
    EXPECT_EQ(PlaylistNameOf("E:", "E:\\kovahdd_playlists\\list.m3u"), "list.m3u");
    EXPECT_EQ(PlaylistNameOf("E:\\", "E:\\KOVAHDD_PLAYLISTS\\List.M3U"), "List.M3U");
    EXPECT_EQ(PlaylistNameOf("E:", "E:\\other\\list.m3u"), "list.m3u");
}

}  // namespace
}  // namespace trayhost
