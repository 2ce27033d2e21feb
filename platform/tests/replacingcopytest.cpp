#include "platform/replacingcopy.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "testsupport/devicetree.h"
#include "testsupport/flushrecorder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace {

using namespace platform;
using testsupport::TemporaryDevice;

constexpr int64_t kSomeTime = 1'000'000'001;

// Entries of the folder besides the named one: a temporary file left behind shows here.
std::vector<std::string> OthersIn(const TemporaryDevice& device, const std::string& name)
{
    std::vector<std::string> others;
    for (const auto& entry : std::filesystem::directory_iterator(device.directory())) {
        if (entry.path().filename() != name) others.push_back(entry.path().filename().string());
    }
    return others;
}

TEST(ReplacingCopyTest, ReplacesTheTargetFoundWithoutRegardToCaseAndTellsItsStatus)
{
    TemporaryDevice pc('P');
    TemporaryDevice device('E');
    pc.WriteFile("a.mp3", "new content");
    ASSERT_TRUE(SetLastWriteTime("P:\\a.mp3", kSomeTime));
    device.WriteFile("A.MP3", "old");

    std::optional<CopiedFile> copied;
    ASSERT_TRUE(CopyFileReplacing("P:\\a.mp3", "E:\\a.mp3", {}, &copied));
    EXPECT_EQ(device.ReadFile("A.MP3"), "new content");
    EXPECT_EQ(GetLastWriteTime("E:\\a.mp3"), kSomeTime);
    EXPECT_TRUE(OthersIn(device, "A.MP3").empty());
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->lastWriteTime, kSomeTime);
    EXPECT_EQ(copied->size, 11u);
}

// Every copy that cannot finish leaves the old target as it was and nothing else behind.
TEST(ReplacingCopyTest, AFailedCopyLeavesTheOldTargetWhole)
{
    TemporaryDevice pc('P');
    pc.WriteFile("a.mp3", std::string(200 * 1024, 'n'));
    std::atomic<int32_t> cancelled{1};
    struct Case {
        const char* name;
        std::size_t deviceSize;  // 0: not limited
        bool readOnly;
        const std::atomic<int32_t>* cancel;
        uint32_t flushAnswer;
        uint32_t error;
    };
    const Case cases[] = {
        {"full disk", 96 * 1024, false, nullptr, kErrorSuccess, kErrorDiskFull},
        {"cancelled", 0, false, &cancelled, kErrorSuccess, kErrorRequestAborted},
        {"read-only target", 0, true, nullptr, kErrorSuccess, kErrorAccessDenied},
        {"not written back", 0, false, nullptr, kErrorGenFailure, kErrorGenFailure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TemporaryDevice> device = c.deviceSize ? std::make_unique<TemporaryDevice>('E', c.deviceSize)
                                                               : std::make_unique<TemporaryDevice>('E');
        if (c.deviceSize && !device->IsSizeLimited()) {
            std::printf("skipped: a size-limited tmpfs needs root\n");
            continue;
        }
        device->WriteFile("a.mp3", "old bytes");
        if (c.readOnly) {
            ASSERT_TRUE(SetFileAttributes("E:\\a.mp3", kAttributeReadOnly));
        }
        testsupport::FlushRecorder flushes;
        flushes.answer = c.flushAnswer;

        EXPECT_FALSE(CopyFileReplacing("P:\\a.mp3", "E:\\a.mp3", {.cancel = c.cancel, .attributes = {}, .targetIsNew = false}));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(device->ReadFile("a.mp3"), "old bytes");
        EXPECT_TRUE(OthersIn(*device, "a.mp3").empty());
    }
}

TEST(ReplacingCopyTest, ALinkAtTheTargetsNameIsReplacedNotWrittenThrough)
{
    TemporaryDevice pc('P');
    TemporaryDevice device('E');
    TemporaryDevice elsewhere('O');
    pc.WriteFile("a.mp3", "new");
    elsewhere.WriteFile("victim.mp3", "keep me");
    std::filesystem::create_symlink(elsewhere.LinuxPath("victim.mp3"), device.LinuxPath("a.mp3"));

    ASSERT_TRUE(CopyFileReplacing("P:\\a.mp3", "E:\\a.mp3"));
    EXPECT_FALSE(std::filesystem::is_symlink(device.LinuxPath("a.mp3")));
    EXPECT_EQ(device.ReadFile("a.mp3"), "new");
    EXPECT_EQ(elsewhere.ReadFile("victim.mp3"), "keep me");
}

}  // namespace
