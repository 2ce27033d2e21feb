#include "trayhost/sync/syncrecordsort.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace trayhost {
namespace {

std::vector<std::string> PathsOf(const std::vector<KeyedRecord>& records)
{
    std::vector<std::string> paths;
    for (const KeyedRecord& keyed : records) paths.push_back(keyed.record.path);
    return paths;
}

// Every list length around the change from selection sort to quicksort, in random, sorted and
// reversed order, sorts as a plain sort of the paths by the system's comparison does, also with
// double-byte characters whose second byte is a capital or a backslash.
TEST(SyncRecordSortTest, SortsAsThePathsCompareOnEitherSideOfTheSelectionSortLimit)
{
    for (const int codePage : {1252, 932}) {
        platform::CodePage::SetSystem(codePage);
        std::mt19937 random(160);
        const char* names[] = {"Track", "TRACK", "\x83\x5C", "\x83\x41", "\x83\x61", "\xB1", "a"};
        for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{2}, kSelectionSortLimit,
                                       kSelectionSortLimit + 1, std::size_t{5000}}) {
            SyncRecordMap map;
            while (map.size() < size) {
                map.Put({.path = "E:\\Folder " + std::to_string(random() % 50) + "\\" + names[random() % 7] + " " +
                                 std::to_string(random() % 100000)});
            }
            std::vector<std::string> expected;
            for (const auto& [key, record] : map) expected.push_back(record.path);
            std::sort(expected.begin(), expected.end(),
                      [](const std::string& a, const std::string& b) { return platform::CompareNoCase(a, b) < 0; });
            std::vector<KeyedRecord> records = SortedRecords(map);
            EXPECT_EQ(PathsOf(records), expected) << size << " records, code page " << codePage;
            for (const char* order : {"sorted", "reversed"}) {
                if (std::string(order) == "reversed") std::reverse(records.begin(), records.end());
                SortSyncRecords(records);
                EXPECT_EQ(PathsOf(records), expected) << size << " records, " << order << ", code page " << codePage;
            }
        }
    }
    platform::CodePage::SetSystem(1252);
}

}  // namespace
}  // namespace trayhost
