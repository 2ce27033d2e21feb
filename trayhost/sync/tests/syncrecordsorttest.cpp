#include "trayhost/sync/syncrecordsort.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace trayhost {
namespace {

std::vector<std::string> PathsOf(const std::vector<SyncFileRecord>& records)
{
    std::vector<std::string> paths;
    for (const SyncFileRecord& record : records) paths.push_back(record.path);
    return paths;
}

TEST(SyncRecordSortTest, FoldersComeBeforeWhatTheyHoldWithoutRegardToCase)
{
    std::vector<SyncFileRecord> records{{.path = "E:\\Music\\b.mp3"}, {.path = "E:\\music"},
                                        {.path = "E:\\MUSIC-2"},     {.path = "E:\\Music\\A.mp3"},
                                        {.path = "E:\\a.mp3"}};
    SortSyncRecords(records);
    EXPECT_EQ(PathsOf(records), (std::vector<std::string>{"E:\\a.mp3", "E:\\music", "E:\\MUSIC-2", "E:\\Music\\A.mp3",
                                                          "E:\\Music\\b.mp3"}));
}

// Every list length around the change from selection sort to quicksort, in random, sorted and
// reversed order, sorts as a plain sort with the same comparison does.
TEST(SyncRecordSortTest, SortsLikeAPlainSortOnEitherSideOfTheSelectionSortLimit)
{
    std::mt19937 random(160);
    const auto reference = [](const SyncFileRecord& a, const SyncFileRecord& b) {
        return platform::CompareNoCase(a.path, b.path) < 0;
    };
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{2}, kSelectionSortLimit,
                                   kSelectionSortLimit + 1, std::size_t{5000}}) {
        std::vector<SyncFileRecord> records;
        for (std::size_t i = 0; i < size; ++i) {
            records.push_back({.path = "E:\\Folder " + std::to_string(random() % 50) + "\\Track " + std::to_string(i),
                               .size = static_cast<uint32_t>(i)});
        }
        std::vector<SyncFileRecord> expected = records;
        std::sort(expected.begin(), expected.end(), reference);
        for (const char* order : {"random", "sorted", "reversed"}) {
            SCOPED_TRACE(testing::Message() << size << " records, " << order);
            std::vector<SyncFileRecord> sorted = records;
            if (std::string(order) == "sorted") sorted = expected;
            if (std::string(order) == "reversed") sorted.assign(expected.rbegin(), expected.rend());
            SortSyncRecords(sorted);
            EXPECT_EQ(sorted, expected);
        }
    }
}

}  // namespace
}  // namespace trayhost
