#include "trayhost/sync/syncstate.h"

#include "testsupport/devicetree.h"
#include "testsupport/userfolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace trayhost {
namespace {

namespace fs = std::filesystem;

std::string Field(uint32_t value)
{
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

// One record as the file holds it, its length fields given or computed.
std::string RecordBytes(const std::string& path, int32_t modTime, uint32_t size, uint32_t isFolder,
                        uint32_t recordLength = 0, uint32_t nameLength = 0)
{
    if (recordLength == 0) recordLength = static_cast<uint32_t>(path.size() + 20);
    if (nameLength == 0) nameLength = static_cast<uint32_t>(path.size());
    return Field(recordLength) + Field(nameLength) + path + Field(static_cast<uint32_t>(modTime)) + Field(size) +
           Field(0) + Field(isFolder);
}

const std::string kFirst = RecordBytes("E:\\Music", 0, 0, 1);
const std::string kSecond = RecordBytes("E:\\Music\\a.mp3", 1'000'000'000, 4000, 0);
const std::string kThird = RecordBytes("E:\\Music\\b.mp3", -5, 12, 0);

struct StateFileCase {
    const char* name;
    std::string bytes;
    bool usable;
    std::vector<std::string> paths;  // the records read, by path
};

class SyncStateParseTest : public testing::TestWithParam<StateFileCase> {};

TEST_P(SyncStateParseTest, ReadsTheRecordsBeforeAnyFault)
{
    SyncRecordMap records;
    records.Put({.path = "untouched"});
    EXPECT_EQ(ParseSyncState(GetParam().bytes, records), GetParam().usable);
    std::vector<std::string> paths;
    for (const auto& [key, record] : records) paths.push_back(record.path);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, GetParam().paths);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SyncStateParseTest,
    testing::Values(
        StateFileCase{"empty", "", false, {"untouched"}},
        StateFileCase{"count_cut_short", std::string("\x01\x00\x00", 3), false, {"untouched"}},
        StateFileCase{"no_records", Field(0), true, {}},
        StateFileCase{"count_10_holding_3", Field(10) + kFirst + kSecond + kThird, true,
                      {"E:\\Music", "E:\\Music\\a.mp3", "E:\\Music\\b.mp3"}},
        StateFileCase{"name_length_300", Field(3) + kFirst + RecordBytes(std::string(300, 'n'), 0, 0, 0, 320, 300) + kThird,
                      true, {"E:\\Music"}},
        StateFileCase{"record_length_below_name", Field(3) + kFirst + RecordBytes("E:\\x", 0, 0, 0, 20, 5) + kThird, true,
                      {"E:\\Music"}},
        StateFileCase{"record_cut_short", Field(2) + kFirst + kSecond.substr(0, 30), true, {"E:\\Music"}},
        StateFileCase{"same_path_twice", Field(2) + kSecond + RecordBytes("e:\\MUSIC\\A.MP3", 7, 7, 0), true,
                      {"e:\\MUSIC\\A.MP3"}}),
    [](const testing::TestParamInfo<StateFileCase>& info) { return std::string(info.param.name); });

TEST(SyncStateTest, ReadsEveryField)
{
    SyncRecordMap records;
    ASSERT_TRUE(ParseSyncState(Field(2) + kFirst + kThird, records));
    EXPECT_EQ(*records.Find("e:\\music"), (SyncFileRecord{"E:\\Music", 0, 0, false, true}));
    EXPECT_EQ(*records.Find("E:\\MUSIC\\B.MP3"), (SyncFileRecord{"E:\\Music\\b.mp3", -5, 12, false, false}));
}

// A run over one item: the PC file and its device copy are kept; a record of a file no item covers
// any more is dropped.
SyncSettings AfterARun()
{
    SyncSettings settings;
    SyncItem& item = settings.items.emplace_back();
    item.pcPath = "C:\\Music";
    item.devicePath = "E:\\Music";
    const SyncFileRecord pcFile{"C:\\Music\\a.mp3", 1'000'000'000, 4000, false, false};
    const SyncFileRecord deviceFile{"E:\\Music\\a.mp3", 1'000'000'000, 4000, false, false};
    item.pcFiles.Put(pcFile);
    item.deviceFiles.Put(deviceFile);
    settings.stateMap.Put(deviceFile);
    settings.stateMap.Put(pcFile);
    settings.stateMap.Put({"C:\\Old\\gone.mp3", 5, 5, false, false});
    return settings;
}

TEST(SyncStateTest, WritesTheRecordsOfTheItemsByteForByte)
{
    const std::string expected = Field(2) + RecordBytes("C:\\Music\\a.mp3", 1'000'000'000, 4000, 0) +
                                 RecordBytes("E:\\Music\\a.mp3", 1'000'000'000, 4000, 0);
    EXPECT_EQ(FormatSyncState(AfterARun()), expected);
}

class SyncStateFileTest : public testing::Test {
protected:
    testsupport::ScopedUserFolders folders_;
};

TEST_F(SyncStateFileTest, WrittenStateReadsBackInTheUsersStateFolder)
{
    SyncSettings settings = AfterARun();
    EXPECT_FALSE(ReadSyncState(settings));  // no file yet
    ASSERT_TRUE(WriteSyncState(settings));
    EXPECT_EQ(SyncStateFilePath(), folders_.stateHome() + "/kovahdd/KovaSyncInfo.bin");

    SyncSettings next;
    ASSERT_TRUE(ReadSyncState(next));
    SyncRecordMap kept = AfterARun().stateMap;
    kept.Remove("C:\\Old\\gone.mp3");
    EXPECT_EQ(next.stateMap, kept);
}

TEST_F(SyncStateFileTest, AFullDiskLeavesThePreviousStateWhole)
{
    testsupport::TemporaryDevice smallDisk('S', 16 * 1024);
    if (!smallDisk.IsSizeLimited()) GTEST_SKIP() << "needs root to mount a small tmpfs";
    ::setenv("XDG_STATE_HOME", smallDisk.directory().c_str(), 1);
    ASSERT_TRUE(WriteSyncState(AfterARun()));
    const std::string previous = testsupport::ReadWholeFile(SyncStateFilePath());

    SyncSettings large = AfterARun();
    for (int i = 0; i < 2000; ++i) {
        const SyncFileRecord record{"C:\\Music\\track " + std::to_string(i) + ".mp3", i, 1, false, false};
        large.items[0].pcFiles.Put(record);
        large.stateMap.Put(record);
    }
    EXPECT_FALSE(WriteSyncState(large));
    EXPECT_EQ(testsupport::ReadWholeFile(SyncStateFilePath()), previous);
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(SyncStateFilePath()).parent_path()), fs::directory_iterator()), 1);
}

// Truncated and mutated state files through the reader: every input lies in a buffer of exactly
// its size, so a run under AddressSanitizer or valgrind reports any read past it.
std::string Mutate(std::string bytes, std::mt19937& random)
{
    std::uniform_int_distribution<std::size_t> offset(0, bytes.size() - 1);
    for (int flips = 1 + random() % 4; flips > 0; --flips) bytes[offset(random)] = static_cast<char>(random());
    if (random() % 2 == 0) {
        static constexpr uint32_t kLengths[] = {0, 3, 19, 20, 279, 280, 281, 0x7FFFFFFF, 0xFFFFFFFF};
        const std::size_t at = offset(random) % (bytes.size() - 3);
        bytes.replace(at, 4, Field(kLengths[random() % std::size(kLengths)]));
    }
    return bytes.substr(0, std::uniform_int_distribution<std::size_t>(0, bytes.size())(random));
}

TEST(SyncStateFuzzTest, MutatedFilesReadOrStopCleanly)
{
    std::mt19937 random(5021);
    const std::string seed = Field(3) + kFirst + kSecond + kThird;
    for (int i = 0; i < 5000; ++i) {
        const std::string bytes = Mutate(seed, random);
        const std::vector<uint8_t> exact(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(exact.data(), exact.size());
    }
}

}  // namespace
}  // namespace trayhost
