// kovahdd profile with the device's tag cache. A device is profiled, changed, and profiled again:
// the second profile must write byte for byte the playlists and free-space file of a profile that
// reads every file (--full), and open exactly the songs that are new or changed (strace counts the
// opens of the process as they really happen).

#include "engine/tagcache/fnv1a.h"
#include "testsupport/devicetree.h"
#include "testsupport/fatimage.h"
#include "testsupport/id3builder.h"
#include "testsupport/userfolders.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

// Once for each open: a song opened twice is there twice.
using Names = std::multiset<std::string>;

const Names kEverySong{"01 One.mp3", "02 Two.mp3", "03 Three.mp3", "untagged.mp3", "empty.mp3", "short.mp3", "talk.wma"};
const char* const kIndexFiles[] = {"sys_playlist/artist.m3u", "sys_playlist/album.m3u", "sys_playlist/title.m3u",
                                   "sys_playlist/genre.m3u", "sys_playlist/audiofiles.m3u", "pfr.bin"};

std::string TaggedSong(const std::string& title, const std::string& track)
{
    using testsupport::Id3v2TextFrame;
    return testsupport::Mp3File(testsupport::Id3v2Tag(Id3v2TextFrame("TIT2", title) + Id3v2TextFrame("TPE1", "Band") +
                                                      Id3v2TextFrame("TALB", "Record") + Id3v2TextFrame("TCON", "(17)") +
                                                      Id3v2TextFrame("TRCK", track)));
}

bool IsAudioName(const std::string& name)
{
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".mp3" || extension == ".wma";
}

// The audio files the traces of openat calls in a folder (one per thread) show opened: the quoted
// name of every call that gave a descriptor.
Names OpenedSongs(const std::string& traceFolder)
{
    Names opened;
    for (const fs::directory_entry& traceFile : fs::directory_iterator(traceFolder)) {
        std::ifstream trace(traceFile.path());
        for (std::string line; std::getline(trace, line);) {
            const std::size_t open = line.find('"');
            const std::size_t close = line.find('"', open + 1);
            const std::size_t result = line.rfind(" = ");
            if (open == std::string::npos || close == std::string::npos || result == std::string::npos) continue;
            if (line.compare(result + 3, 1, "-") == 0) continue;
            const std::string name = fs::path(line.substr(open + 1, close - open - 1)).filename().string();
            if (IsAudioName(name)) opened.insert(name);
        }
    }
    return opened;
}

struct Profiled {
    int exitStatus = -1;
    std::string output;
    Names opened;
};

class ProfileCacheTest : public testing::Test {
public:
    void SetUp() override
    {
        if (std::system("command -v strace >/dev/null 2>&1") != 0) GTEST_SKIP() << "counting the opens takes strace";
        device_.WriteFile("Music/Band/01 One.mp3", TaggedSong("One", "1"));
        device_.WriteFile("Music/Band/02 Two.mp3", TaggedSong("Two", "2/9"));
        device_.WriteFile("Music/Other/03 Three.mp3",
                          testsupport::Mp3File("", testsupport::Id3v1Block({.title = "Three", .genre = 13})));
        device_.WriteFile("Music/untagged.mp3", std::string(300, 'x'));
        device_.WriteFile("Music/empty.mp3", "");
        device_.WriteFile("Music/short.mp3", std::string(50, 'x'));  // too short for a version 1 block
        device_.WriteFile("Talk/talk.wma", testsupport::ReadWholeFile(KOVA_WMA_SAMPLE));
    }

    // kovahdd profile of the directory, its opens traced. A build with the leak checker must not
    // check under strace: the checker cannot work in a traced process, and fails it.
    Profiled Profile(const std::string& directory, const std::string& flags = "")
    {
        const fs::path traces = fs::path(work_.directory()) / "traces";
        fs::remove_all(traces);
        fs::create_directory(traces);
        const std::string command = "env KOVAHDD_DRIVES= ASAN_OPTIONS=detect_leaks=0 strace -ff -qq -e trace=openat -o '" +
                                    (traces / "openat").string() + "' " + KOVAHDD_EXECUTABLE + " profile '" +
                                    directory + "' " + flags + " 2>&1";
        Profiled profiled;
        std::FILE* pipe = popen(command.c_str(), "r");
        std::array<char, 4096> buffer;
        for (std::size_t size; (size = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
            profiled.output.append(buffer.data(), size);
        }
        const int status = pclose(pipe);
        profiled.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        profiled.opened = OpenedSongs(traces);
        return profiled;
    }

    // Profiles the directory with the cache, then with --full: both must finish and write the same
    // bytes (the free-space file only where nothing else changes the free space). Gives the first.
    Profiled ProfileAndCompareWithFull(const std::string& directory, bool compareFreeSpace)
    {
        const Profiled cached = Profile(directory);
        EXPECT_EQ(cached.exitStatus, 0) << cached.output;
        const std::vector<std::string> written = IndexFiles(directory);
        const Profiled full = Profile(directory, "--full");
        EXPECT_EQ(full.exitStatus, 0) << full.output;
        const std::vector<std::string> expected = IndexFiles(directory);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const bool isFreeSpaceFile = i + 1 == expected.size();
            if (!isFreeSpaceFile || compareFreeSpace) {
                EXPECT_EQ(written[i], expected[i]) << kIndexFiles[i];
            }
        }
        return cached;
    }

    static std::vector<std::string> IndexFiles(const std::string& directory)
    {
        std::vector<std::string> contents;
        for (const char* name : kIndexFiles) contents.push_back(testsupport::ReadWholeFile(directory + "/kovahdd/" + name));
        return contents;
    }

    // The cache files in the user's cache folder.
    Names CacheFiles() const
    {
        Names files;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folders_.cacheHome() + "/kovahdd", error)) {
            files.insert(entry.path().string());
        }
        return files;
    }

    std::string CacheFile() const { return CacheFiles().empty() ? "" : *CacheFiles().begin(); }

    void Move(const std::string& from, const std::string& to)
    {
        fs::create_directories(fs::path(device_.LinuxPath(to)).parent_path());
        fs::rename(device_.LinuxPath(from), device_.LinuxPath(to));
    }

    testsupport::ScopedUserFolders folders_;
    testsupport::TemporaryDevice work_{'W'};
    // A tmpfs of its own where root may mount one: its free space changes with the profile alone.
    testsupport::TemporaryDevice device_{'E', 4 * 1024 * 1024};
};

// A folder that cannot be written: a read-only bind mount of itself, which binds root too.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder) : folder_(std::move(folder))
    {
        mounted_ = mount(folder_.c_str(), folder_.c_str(), nullptr, MS_BIND, nullptr) == 0;
        if (mounted_) mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
        else fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    }
    ~ReadOnlyFolder()
    {
        if (mounted_) umount(folder_.c_str());
        else fs::permissions(folder_, fs::perms::owner_all);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string folder_;
    bool mounted_ = false;
};

class ProfileCacheCaseTest;

struct CacheCase {
    const char* name;
    std::function<void(ProfileCacheCaseTest&)> change;
    Names opened;             // the songs the profile after the change must open
    bool noted = false;       // and whether it notes a cache it cannot use
};

void PrintTo(const CacheCase& cacheCase, std::ostream* out)
{
    *out << cacheCase.name;
}

class ProfileCacheCaseTest : public ProfileCacheTest, public testing::WithParamInterface<CacheCase> {
public:
    std::unique_ptr<ReadOnlyFolder> readOnly;
};

TEST_P(ProfileCacheCaseTest, ProfileAfterTheChangeReadsWhatChangedAndWritesWhatAFullProfileWrites)
{
    ASSERT_EQ(Profile(device_.directory()).opened, kEverySong);
    GetParam().change(*this);
    const Profiled profiled = ProfileAndCompareWithFull(device_.directory(), device_.IsSizeLimited());
    EXPECT_EQ(profiled.opened, GetParam().opened);
    EXPECT_EQ(profiled.output.find("note: the tag cache") != std::string::npos, GetParam().noted) << profiled.output;
}

void Rewrite(ProfileCacheCaseTest& test, const std::string& song, const std::string& bytes, fs::file_time_type time)
{
    test.device_.WriteFile(song, bytes);
    fs::last_write_time(test.device_.LinuxPath(song), time);
}

fs::file_time_type TimeOf(ProfileCacheCaseTest& test, const std::string& song)
{
    return fs::last_write_time(test.device_.LinuxPath(song));
}

// The cache file with the bytes at offset replaced, and its checksum made right again.
void EditCache(const std::string& file, std::size_t offset, const std::string& bytes)
{
    std::string content = testsupport::ReadWholeFile(file).replace(offset, bytes.size(), bytes);
    const uint64_t checksum = engine::Fnv1a(std::string_view(content).substr(0, content.size() - 8));
    for (std::size_t i = 0; i < 8; ++i) content[content.size() - 8 + i] = static_cast<char>(checksum >> (8 * i));
    testsupport::WriteWholeFile(file, content);
}

const CacheCase kCases[] = {
    {"Unchanged", [](auto&) {}, {}},
    {"TagEditedWithANewTime",
     [](auto& t) {
         Rewrite(t, "Music/Band/01 One.mp3", TaggedSong("Uno", "1"), TimeOf(t, "Music/Band/01 One.mp3") + std::chrono::seconds(2));
     },
     {"01 One.mp3"}},
    {"ReplacedBySameTimeOtherSize",
     [](auto& t) { Rewrite(t, "Music/Band/02 Two.mp3", TaggedSong("Second", "2"), TimeOf(t, "Music/Band/02 Two.mp3")); },
     {"02 Two.mp3"}},
    {"Renamed", [](auto& t) { t.Move("Music/Other/03 Three.mp3", "Music/Other/03 Drei.mp3"); }, {"03 Drei.mp3"}},
    {"MovedToAnotherFolder", [](auto& t) { t.Move("Music/Band/02 Two.mp3", "Music/Other/02 Two.mp3"); }, {"02 Two.mp3"}},
    {"Deleted", [](auto& t) { fs::remove(t.device_.LinuxPath("Music/Band/01 One.mp3")); }, {}},
    {"Added", [](auto& t) { t.device_.WriteFile("Music/Band/04 Four.mp3", TaggedSong("Four", "4")); }, {"04 Four.mp3"}},
    {"FolderRenamed", [](auto& t) { t.Move("Music/Band", "Music/Group"); }, {"01 One.mp3", "02 Two.mp3"}},
    {"LetterCaseChanged", [](auto& t) { t.Move("Music/Other/03 Three.mp3", "Music/Other/03 THREE.MP3"); }, {"03 THREE.MP3"}},
    {"CacheOfAnotherDevice",
     [](auto& t) {
         const testsupport::TemporaryDevice other('F');
         other.WriteFile("01 One.mp3", TaggedSong("Other", "1"));
         const std::string ours = t.CacheFile();
         t.Profile(other.directory());
         for (const std::string& file : t.CacheFiles()) {
             if (file != ours) fs::rename(file, ours);
         }
     },
     kEverySong, true},
    {"TruncatedCache", [](auto& t) { fs::resize_file(t.CacheFile(), fs::file_size(t.CacheFile()) / 2); }, kEverySong, true},
    {"CacheOfAnOlderVersion", [](auto& t) { EditCache(t.CacheFile(), 8, std::string("\0\0\0\0", 4)); }, kEverySong, true},
    {"PlaylistChangedOnTheDevice", [](auto& t) { t.device_.WriteFile("kovahdd/sys_playlist/genre.m3u", "x"); }, {}},
    {"ReadOnlyCacheFolder",
     [](auto& t) {
         t.device_.WriteFile("Music/Band/04 Four.mp3", TaggedSong("Four", "4"));
         t.readOnly = std::make_unique<ReadOnlyFolder>(fs::path(t.CacheFile()).parent_path());
     },
     {"04 Four.mp3"}, true},
};

INSTANTIATE_TEST_SUITE_P(Changes, ProfileCacheCaseTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<CacheCase>& info) { return info.param.name; });

// The playlists of an unchanged device are what they would be written as: they are left alone.
TEST_F(ProfileCacheTest, AnUnchangedDeviceKeepsItsPlaylistFiles)
{
    Profile(device_.directory());
    const auto timeOf = [&](const char* file) { return fs::last_write_time(device_.LinuxPath(file)); };
    const fs::file_time_type playlist = timeOf("kovahdd/sys_playlist/artist.m3u");
    const fs::file_time_type freeSpace = timeOf("kovahdd/pfr.bin");
    Profile(device_.directory());
    EXPECT_EQ(timeOf("kovahdd/sys_playlist/artist.m3u"), playlist);
    EXPECT_NE(timeOf("kovahdd/pfr.bin"), freeSpace);
}

TEST_F(ProfileCacheTest, TwoDevicesProfiledInTurnsKeepACacheEach)
{
    const testsupport::TemporaryDevice other('F');
    other.WriteFile("Music/a.mp3", TaggedSong("Alpha", "1"));
    other.WriteFile("Music/b.mp3", TaggedSong("Beta", "2"));
    EXPECT_EQ(Profile(device_.directory()).opened, kEverySong);
    EXPECT_EQ(Profile(other.directory()).opened, (Names{"a.mp3", "b.mp3"}));
    EXPECT_EQ(CacheFiles().size(), 2u);
    EXPECT_EQ(ProfileAndCompareWithFull(device_.directory(), device_.IsSizeLimited()).opened, Names{});
    EXPECT_EQ(Profile(other.directory()).opened, Names{});
}

// Tag editors told to keep a file's time may also keep its size: only --full sees such a change,
// and the profiles after it keep what it read.
TEST_F(ProfileCacheTest, FullReadsAChangeThatKeptSizeAndTime)
{
    Profile(device_.directory());
    const std::string song = device_.LinuxPath("Music/Band/01 One.mp3");
    const fs::file_time_type time = fs::last_write_time(song);
    testsupport::WriteWholeFile(song, TaggedSong("Uno", "1"));
    fs::last_write_time(song, time);

    const std::string titles = "kovahdd/sys_playlist/title.m3u";
    EXPECT_EQ(Profile(device_.directory()).opened, Names{});
    EXPECT_EQ(device_.ReadFile(titles).find("<Uno>"), std::string::npos);
    EXPECT_EQ(Profile(device_.directory(), "--full").opened, kEverySong);
    EXPECT_NE(device_.ReadFile(titles).find("<Uno>"), std::string::npos);
    EXPECT_EQ(Profile(device_.directory()).opened, Names{});
    EXPECT_NE(device_.ReadFile(titles).find("<Uno>"), std::string::npos);
}

// FAT keeps last-write times in steps of 2 seconds: songs written at odd seconds must still read as
// unchanged the next time.
TEST_F(ProfileCacheTest, AnUnchangedFatDeviceReadsNothing)
{
    const testsupport::FatImage fat('G');
    if (!fat.mounted()) GTEST_SKIP() << "needs /dev/fuse, fusefat and mkfs.vfat";
    const fs::file_time_type oddSecond = fs::file_time_type::clock::now() - std::chrono::hours(1) + std::chrono::seconds(1);
    for (const char* name : {"01 One.mp3", "02 Two.mp3"}) {
        const std::string path = fat.directory() + "/Music/" + name;
        fs::create_directories(fs::path(path).parent_path());
        testsupport::WriteWholeFile(path, TaggedSong(name, "3"));
        fs::last_write_time(path, oddSecond);
    }
    EXPECT_EQ(Profile(fat.directory()).opened, (Names{"01 One.mp3", "02 Two.mp3"}));
    EXPECT_EQ(ProfileAndCompareWithFull(fat.directory(), true).opened, Names{});
}

}  // namespace
