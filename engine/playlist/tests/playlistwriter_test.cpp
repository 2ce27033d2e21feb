#include "engine/catalogue/trackcatalogue.h"
#include "engine/catalogue/tests/trackbuilder.h"
#include "engine/playlist/playlistwriter.h"
#include "engine/playlist/tests/playlistparser.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using engine::PlaylistKind;
using testsupport::ParsedEntry;
using testsupport::ParsedPlaylist;
using testsupport::TrackSpec;

constexpr std::string_view kPlaylistFolder = "kovahdd/sys_playlist/";

class PlaylistWriterTest : public ::testing::Test {
protected:
    // Writes the playlist and puts it in place, as a run does once all five are complete.
    int32_t Write(PlaylistKind kind, const char* root = "E:")
    {
        engine::PlaylistFile playlist;
        const int32_t header = engine::WritePlaylistHeader(root, kind, playlist);
        if (header != engine::kPlaylistWritten) return header;
        const int32_t body = engine::WritePlaylistEntries(playlist, kind, catalogue_.OrderedEntries(kind));
        if (body == engine::kPlaylistWritten) {
            EXPECT_TRUE(playlist.PutInPlace());
        }
        return body;
    }

    void Add(const TrackSpec& tags) { catalogue_.AddTrack(testsupport::MakeTrack(tags)); }

    std::string Read(std::string_view fileName) const
    {
        return device_.ReadFile(std::string(kPlaylistFolder) + std::string(fileName));
    }

    bool Exists(std::string_view fileName) const
    {
        return device_.Exists(std::string(kPlaylistFolder) + std::string(fileName));
    }

    static std::vector<std::string> TemporaryFiles(const testsupport::TemporaryDevice& device)
    {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(device.LinuxPath(kPlaylistFolder))) {
            const std::string name = item.path().filename().string();
            if (name != "title.m3u" && name != "artist.m3u" && name != "album.m3u" && name != "genre.m3u" &&
                name != "audiofiles.m3u") {
                names.push_back(name);
            }
        }
        return names;
    }

    testsupport::TemporaryDevice device_;
    engine::TrackCatalogue catalogue_;
};

TEST_F(PlaylistWriterTest, ASingleUntaggedFileGivesTheDocumentedEntry)
{
    Add({.title = "Song.mp3", .path = "..\\..\\Song.mp3"});
    ASSERT_EQ(Write(PlaylistKind::Title), engine::kPlaylistWritten);
    EXPECT_EQ(Read("title.m3u"),
              "#EXTKOVAM3U <TITLE> V0.02\n"
              "#EXTKOVAINF 1 0001 000154 009<(unknown)> 009<(unknown)> 008<Song.mp3> 009<(unknown)> 002<--> 000<> "
              "0001 0001 00000000 xxxxxxxx 00000000 014\n"
              "..\\..\\Song.mp3\n");
    EXPECT_EQ(catalogue_.Track(0).entryNumber, 1);
    EXPECT_EQ(catalogue_.Track(0).entryLength, 154);
}

// Entries of 150, 160 and 170 bytes: 106 fixed bytes at level 1, a one-letter title, and a path
// making up the rest.
TEST_F(PlaylistWriterTest, ThreeTitleEntriesCarryTheirDistances)
{
    for (auto [title, pathLength] : {std::pair{"a", 43}, std::pair{"b", 53}, std::pair{"c", 63}}) {
        const std::string path(static_cast<std::size_t>(pathLength), 'p');
        Add({.artist = "", .album = "", .title = title, .genre = "", .path = path});
    }
    ASSERT_EQ(Write(PlaylistKind::Title), engine::kPlaylistWritten);
    const std::string bytes = Read("title.m3u");
    EXPECT_NE(bytes.find(" 0001 0003 00000000 00000001 00000000 043\n"), std::string::npos);
    EXPECT_NE(bytes.find(" 0002 0003 00000310 00000001 00000310 053\n"), std::string::npos);
    EXPECT_NE(bytes.find(" 0003 0003 00000480 xxxxxxxx 00000330 063\n"), std::string::npos);

    const ParsedPlaylist parsed = testsupport::ParsePlaylist(bytes);
    ASSERT_EQ(parsed.entries.size(), 3u);
    EXPECT_EQ(parsed.entries[0].size, 150u);
    EXPECT_EQ(parsed.entries[1].size, 160u);
    EXPECT_EQ(parsed.entries[2].size, 170u);
    const engine::CatalogueTrack& second = catalogue_.Track(1);
    EXPECT_EQ(second.entryNumber, 2);
    EXPECT_EQ(second.entryLength, 159);
    EXPECT_EQ(second.navigation[engine::kBack3], 310);
    EXPECT_EQ(second.navigation[engine::kNext3], 1);
    EXPECT_EQ(second.navigation[engine::kPrev3], 310);
}

TEST_F(PlaylistWriterTest, AnEmptyCatalogueGivesTheHeaderAlone)
{
    ASSERT_EQ(Write(PlaylistKind::AudioFiles), engine::kPlaylistWritten);
    EXPECT_EQ(Read("audiofiles.m3u"), "#EXTKOVAM3U <AUDIO FILES> V0.02\n");
}

TEST_F(PlaylistWriterTest, FoldersAreCreatedAndThePlayersOwnHidden)
{
    ASSERT_EQ(Write(PlaylistKind::Title, "E:\\"), engine::kPlaylistWritten);
    EXPECT_TRUE(Exists("title.m3u"));
    EXPECT_NE(platform::GetFileAttributes("E:\\kovahdd") & platform::kAttributeHidden, 0u);
    EXPECT_NE(platform::GetFileAttributes("E:\\kovahdd\\sys_playlist") & platform::kAttributeHidden, 0u);
    EXPECT_TRUE(device_.Exists("kovahdd_playlists"));
    EXPECT_TRUE(TemporaryFiles(device_).empty());
}

TEST_F(PlaylistWriterTest, ANewPlaylistReplacesThePreviousOne)
{
    Add({.title = "first"});
    ASSERT_EQ(Write(PlaylistKind::Title), engine::kPlaylistWritten);
    Add({.title = "second"});
    ASSERT_EQ(Write(PlaylistKind::Title), engine::kPlaylistWritten);
    EXPECT_EQ(testsupport::ParsePlaylist(Read("title.m3u")).entries.size(), 2u);
    EXPECT_TRUE(TemporaryFiles(device_).empty());
}

TEST_F(PlaylistWriterTest, MissingArgumentsAndUnknownKindsWriteNothing)
{
    engine::PlaylistFile playlist;
    EXPECT_EQ(engine::WritePlaylistHeader(nullptr, PlaylistKind::Title, playlist), engine::kPlaylistFailed);
    EXPECT_EQ(engine::WritePlaylistEntries(playlist, PlaylistKind::Title, catalogue_.OrderedEntries(PlaylistKind::Title)),
              engine::kPlaylistFailed);
    EXPECT_EQ(Write(static_cast<PlaylistKind>(4)), engine::kInvalidPlaylistKind);
    EXPECT_FALSE(Exists("title.m3u"));
    EXPECT_TRUE(TemporaryFiles(device_).empty());
}

TEST_F(PlaylistWriterTest, APlaylistOfTenThousandEntriesIsRefusedAndThePreviousKept)
{
    Add({.title = "kept"});
    ASSERT_EQ(Write(PlaylistKind::Title), engine::kPlaylistWritten);
    const std::string previous = Read("title.m3u");

    for (int i = 1; i < 10'000; ++i) Add({.title = "t" + std::to_string(i)});
    EXPECT_EQ(Write(PlaylistKind::Title), engine::kPlaylistTooLarge);
    EXPECT_EQ(Read("title.m3u"), previous);
    EXPECT_TRUE(TemporaryFiles(device_).empty());

    catalogue_.ClearTracks();
    for (int i = 0; i < 9'999; ++i) catalogue_.AppendTrack(testsupport::MakeTrack({.title = "t" + std::to_string(i)}));
    EXPECT_EQ(Write(PlaylistKind::AudioFiles), engine::kPlaylistWritten);
}

TEST_F(PlaylistWriterTest, ATrackNumberWiderThanTwoDigitsIsRefused)
{
    Add({.title = "odd", .track = 100});
    EXPECT_EQ(Write(PlaylistKind::Album), engine::kPlaylistTooLarge);
    EXPECT_FALSE(Exists("album.m3u"));
}

TEST_F(PlaylistWriterTest, AFullDeviceKeepsThePreviousPlaylist)
{
    const testsupport::TemporaryDevice small('F', 64 * 1024);
    if (!small.IsSizeLimited()) GTEST_SKIP() << "needs the right to mount a size-limited tmpfs";
    Add({.title = "kept"});
    ASSERT_EQ(Write(PlaylistKind::Title, "F:"), engine::kPlaylistWritten);
    const std::string previous = small.ReadFile("kovahdd/sys_playlist/title.m3u");

    for (int i = 0; i < 1000; ++i) Add({.title = std::string(200, 'n') + std::to_string(i)});
    engine::PlaylistFile playlist;
    ASSERT_EQ(engine::WritePlaylistHeader("F:", PlaylistKind::Title, playlist), engine::kPlaylistWritten);
    EXPECT_EQ(engine::WritePlaylistEntries(playlist, PlaylistKind::Title, catalogue_.OrderedEntries(PlaylistKind::Title)),
              engine::kPlaylistFailed);
    EXPECT_EQ(playlist.Failure(), platform::kErrorDiskFull);
    EXPECT_EQ(small.ReadFile("kovahdd/sys_playlist/title.m3u"), previous);
    EXPECT_TRUE(TemporaryFiles(small).empty());
}

// How one playlist kind groups its entries: the fields that name its level-1 and level-2 groups,
// or none where the level is the whole file.
struct GroupingCase {
    PlaylistKind kind;
    std::string_view fileName;
    std::string_view header;
    std::optional<testsupport::ParsedField> levelOneField;
    std::optional<testsupport::ParsedField> levelTwoField;
};

std::ostream& operator<<(std::ostream& out, const GroupingCase& grouping)
{
    return out << grouping.fileName;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// Works out from the texts alone where every entry's groups begin and end, and checks that each
// ordinal and count, and each distance followed from the end of its entry, reaches the entry it
// must.
class NavigationOracle {
public:
    NavigationOracle(const ParsedPlaylist& playlist, const GroupingCase& grouping) : entries_(playlist.entries)
    {
        const std::size_t count = entries_.size();
        std::vector<std::string> outerKeys(count);
        std::vector<std::string> innerKeys(count);
        for (std::size_t i = 0; i < count; ++i) {
            outerKeys[i] = grouping.levelOneField ? Lower(entries_[i].fields[*grouping.levelOneField]) : "";
            innerKeys[i] = outerKeys[i] + '\n' +
                           (grouping.levelTwoField ? Lower(entries_[i].fields[*grouping.levelTwoField]) : "");
        }
        outerStart_ = GroupStarts(outerKeys);
        innerStart_ = GroupStarts(innerKeys);
        outerEnd_ = GroupEnds(outerKeys);
        innerEnd_ = GroupEnds(innerKeys);
        totalBytes_ = playlist.entryBytes;
    }

    void Check(std::size_t i) const
    {
        const ParsedEntry& entry = entries_[i];
        const std::size_t groups = entry.groups.size();
        ASSERT_GE(groups, 1u);
        CheckInnermost(i, entry.groups[groups - 1]);
        if (groups >= 2) CheckLevelTwo(i, entry.groups[groups - 2]);
        if (groups == 3) CheckLevelOne(i, entry.groups[0]);
    }

private:
    static std::vector<std::size_t> GroupStarts(const std::vector<std::string>& keys)
    {
        std::vector<std::size_t> starts(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) starts[i] = i > 0 && keys[i] == keys[i - 1] ? starts[i - 1] : i;
        return starts;
    }

    static std::vector<std::size_t> GroupEnds(const std::vector<std::string>& keys)
    {
        std::vector<std::size_t> ends(keys.size());
        for (std::size_t i = keys.size(); i-- > 0;) {
            ends[i] = i + 1 < keys.size() && keys[i] == keys[i + 1] ? ends[i + 1] : i + 1;
        }
        return ends;
    }

    // Number of distinct groups starting in first..last-1.
    static int32_t GroupsBetween(const std::vector<std::size_t>& starts, std::size_t first, std::size_t last)
    {
        int32_t groups = 0;
        for (std::size_t i = first; i < last; ++i) groups += starts[i] == i ? 1 : 0;
        return groups;
    }

    int64_t Start(std::size_t index) const
    {
        return static_cast<int64_t>(index == entries_.size() ? totalBytes_ : entries_[index].offset);
    }

    int64_t End(std::size_t index) const { return Start(index) + static_cast<int64_t>(entries_[index].size); }

    void CheckInnermost(std::size_t i, const testsupport::ParsedNavigationGroup& group) const
    {
        EXPECT_EQ(group.ordinal, static_cast<int32_t>(i - innerStart_[i] + 1)) << "entry " << i;
        EXPECT_EQ(group.count, static_cast<int32_t>(innerEnd_[i] - innerStart_[i])) << "entry " << i;
        const bool first = i == innerStart_[i];
        EXPECT_EQ(group.back, first ? 0 : End(i) - Start(innerStart_[i])) << "entry " << i;
        if (group.ordinal != group.count) {
            EXPECT_EQ(group.next, 1) << "entry " << i;
        }
        EXPECT_EQ(group.prev, first ? 0 : End(i) - Start(i - 1)) << "entry " << i;
    }

    void CheckLevelTwo(std::size_t i, const testsupport::ParsedNavigationGroup& group) const
    {
        const std::size_t outer = outerStart_[i];
        const int32_t ordinal = GroupsBetween(innerStart_, outer, i + 1);
        EXPECT_EQ(group.ordinal, ordinal) << "entry " << i;
        EXPECT_EQ(group.count, GroupsBetween(innerStart_, outer, outerEnd_[i])) << "entry " << i;
        EXPECT_EQ(group.back, i == outer ? 0 : End(i) - Start(outer)) << "entry " << i;
        if (group.ordinal != group.count) {
            EXPECT_EQ(group.next, Start(innerEnd_[i]) - End(i)) << "entry " << i;
        } else {
            EXPECT_FALSE(group.next.has_value()) << "entry " << i;
        }
        const std::size_t target = i == innerStart_[i] && ordinal > 1 ? innerStart_[i - 1] : innerStart_[i];
        EXPECT_EQ(group.prev, ordinal == 1 ? 0 : End(i) - Start(target)) << "entry " << i;
    }

    void CheckLevelOne(std::size_t i, const testsupport::ParsedNavigationGroup& group) const
    {
        const std::size_t outer = outerStart_[i];
        const int32_t ordinal = GroupsBetween(outerStart_, 0, i + 1);
        EXPECT_EQ(group.ordinal, ordinal) << "entry " << i;
        EXPECT_EQ(group.count, GroupsBetween(outerStart_, 0, entries_.size())) << "entry " << i;
        EXPECT_EQ(group.back, i == 0 ? 0 : End(i)) << "entry " << i;
        if (group.ordinal != group.count) {
            EXPECT_EQ(group.next, Start(outerEnd_[i]) - End(i)) << "entry " << i;
        } else {
            EXPECT_FALSE(group.next.has_value()) << "entry " << i;
        }
        EXPECT_EQ(group.prev, ordinal == 1 ? 0 : End(i) - Start(outerStart_[outer - 1])) << "entry " << i;
    }

    const std::vector<ParsedEntry>& entries_;
    std::vector<std::size_t> outerStart_;
    std::vector<std::size_t> outerEnd_;
    std::vector<std::size_t> innerStart_;
    std::vector<std::size_t> innerEnd_;
    std::size_t totalBytes_ = 0;
};

class PlaylistNavigationTest : public PlaylistWriterTest, public ::testing::WithParamInterface<GroupingCase> {
protected:
    // Several artists, albums and genres; case variants, texts with angle brackets, unnumbered
    // tracks, one album name used by two artists, one artist in three genres.
    void SetUp() override
    {
        using engine::kNoTrackNumber;
        // artist, album, title, genre, track
        const TrackSpec library[] = {
            {"ABBA", "Arrival", "Dancing Queen", "Pop", 2},
            {"AC>DC<", "High <Voltage>", "T.N.T.", "Rock", 2},
            {"Queen", "A Night at the Opera", "Bohemian Rhapsody", "Rock", 11},
            {"ABBA", "Arrival", "When I Kissed the Teacher", "Pop", 1},
            {"Queen", "Jazz", "Mustapha", "World", kNoTrackNumber},
            {"Abba", "Arrival", "Money, Money, Money", "Pop", kNoTrackNumber},
            {"Queen Latifah", "Black Reign", "U.N.I.T.Y.", "Hip Hop", 4},
            {"ABBA", "Voulez-Vous", "Chiquitita", "pop", 4},
            {"AC>DC<", "High <Voltage>", "It's a Long Way <to the top>", "Rock", 1},
            {"Queen", "A Night at the Opera", "Death on Two Legs", "Rock", 1},
            {"Queen", "Jazz", "Bicycle Race", "Rock", kNoTrackNumber},
            {"Someone Else", "Arrival", "Cover", "Pop", 1},
            {"Queen", "Innuendo", "Innuendo", "Progressive", 1},
        };
        for (const TrackSpec& track : library) Add(track);
    }
};

TEST_P(PlaylistNavigationTest, EveryDistanceReachesTheFirstByteOfItsTarget)
{
    const GroupingCase& grouping = GetParam();
    ASSERT_EQ(Write(grouping.kind), engine::kPlaylistWritten);
    const std::string bytes = Read(grouping.fileName);
    EXPECT_EQ(bytes.find('\r'), std::string::npos);

    ParsedPlaylist parsed;
    ASSERT_NO_THROW(parsed = testsupport::ParsePlaylist(bytes));
    EXPECT_EQ(parsed.header, grouping.header);
    ASSERT_EQ(parsed.entries.size(), catalogue_.TrackCount());
    const NavigationOracle oracle(parsed, grouping);
    for (std::size_t i = 0; i < parsed.entries.size(); ++i) {
        const ParsedEntry& entry = parsed.entries[i];
        EXPECT_EQ(entry.level, engine::EntryLevel(grouping.kind));
        EXPECT_EQ(entry.number, static_cast<int32_t>(i + 1));
        EXPECT_EQ(entry.length, static_cast<int32_t>(entry.size) - 1);
        oracle.Check(i);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PlaylistNavigationTest,
    ::testing::Values(
        GroupingCase{PlaylistKind::Artist, "artist.m3u", "#EXTKOVAM3U <ARTIST> V0.02", testsupport::kArtistField,
                     testsupport::kAlbumField},
        GroupingCase{PlaylistKind::Genre, "genre.m3u", "#EXTKOVAM3U <GENRE> V0.02", testsupport::kGenreField,
                     testsupport::kArtistField},
        GroupingCase{PlaylistKind::Album, "album.m3u", "#EXTKOVAM3U <ALBUM> V0.02", std::nullopt,
                     testsupport::kAlbumField},
        GroupingCase{PlaylistKind::Title, "title.m3u", "#EXTKOVAM3U <TITLE> V0.02", std::nullopt, std::nullopt},
        GroupingCase{PlaylistKind::AudioFiles, "audiofiles.m3u", "#EXTKOVAM3U <AUDIO FILES> V0.02", std::nullopt,
                     std::nullopt}));

TEST_F(PlaylistNavigationTest, TheLastEntryOfAnArtistPointsToTheNextArtistAndTheLastArtistHasNoNext)
{
    ASSERT_EQ(Write(PlaylistKind::Artist), engine::kPlaylistWritten);
    const ParsedPlaylist parsed = testsupport::ParsePlaylist(Read("artist.m3u"));
    std::vector<std::string> artists;
    for (const ParsedEntry& entry : parsed.entries) artists.push_back(entry.fields[testsupport::kArtistField]);
    // ABBA's four entries (Abba among them), then AC>DC<, Queen, Queen Latifah, Someone Else.
    ASSERT_EQ(Lower(artists[3]), "abba");
    ASSERT_EQ(artists[4], "AC>DC<");
    EXPECT_EQ(parsed.entries[3].groups[0].next, 0);
    EXPECT_EQ(parsed.entries[2].groups[1].next, 0);  // last of Arrival, before Voulez-Vous
    EXPECT_FALSE(parsed.entries[3].groups[1].next.has_value());  // Voulez-Vous is ABBA's last album
    EXPECT_FALSE(parsed.entries.back().groups[0].next.has_value());
}

}  // namespace
