#include "platform/copybatch.h"

#include "platform/copytemporaries.h"
#include "testsupport/devicetree.h"
#include "testsupport/flushrecorder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

namespace {

using namespace platform;
using testsupport::TemporaryDevice;

// Every file of the device's root and its content, temporary files under one name.
std::map<std::string, std::string> FilesOf(const TemporaryDevice& device)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(device.directory())) {
        const std::string name = entry.path().filename().string();
        files[CopyTemporaryProcess(name) == getpid() ? "temporary " + name.substr(name.rfind('-')) : name] =
            testsupport::ReadWholeFile(entry.path().string());
    }
    return files;
}

TEST(CopyBatchTest, OneFlushMakesTheBatchDurableBeforeAnyCopyTakesItsName)
{
    TemporaryDevice pc('P');
    TemporaryDevice device('E');
    pc.WriteFile("a.mp3", "new a");
    pc.WriteFile("b.mp3", "new b");
    device.WriteFile("b.mp3", "old b");
    testsupport::FlushRecorder flushes;
    std::map<std::string, std::string> atFlush;
    flushes.onFlush = [&](const std::string&) { atFlush = FilesOf(device); };

    CopyBatch batch;
    ASSERT_TRUE(batch.Add("P:\\a.mp3", "E:\\a.mp3", {.cancel = nullptr, .attributes = {}, .targetIsNew = true}));
    ASSERT_TRUE(batch.Add("P:\\b.mp3", "E:\\b.mp3"));
    const std::vector<CopyBatch::Outcome> outcomes = batch.Finish();

    EXPECT_EQ(flushes.folders, std::vector<std::string>{device.directory()});
    ASSERT_EQ(atFlush.size(), 3u);
    EXPECT_EQ(atFlush["b.mp3"], "old b");
    EXPECT_FALSE(atFlush.contains("a.mp3"));
    ASSERT_EQ(outcomes.size(), 2u);
    for (const CopyBatch::Outcome& outcome : outcomes) EXPECT_EQ(outcome.error, kErrorSuccess);
    EXPECT_EQ(FilesOf(device), (std::map<std::string, std::string>{{"a.mp3", "new a"}, {"b.mp3", "new b"}}));
    EXPECT_TRUE(batch.Empty());
}

// A file that took the new target's name after the caller listed the folder is replaced, never
// kept beside a second file of that name.
TEST(CopyBatchTest, ANewNameTakenSinceTheListingIsReplaced)
{
    TemporaryDevice pc('P');
    TemporaryDevice device('E');
    pc.WriteFile("a.mp3", "mine");
    CopyBatch batch;
    ASSERT_TRUE(batch.Add("P:\\a.mp3", "E:\\a.mp3", {.cancel = nullptr, .attributes = {}, .targetIsNew = true}));
    device.WriteFile("a.mp3", "someone else's");
    ASSERT_EQ(batch.Finish().at(0).error, kErrorSuccess);
    EXPECT_EQ(FilesOf(device), (std::map<std::string, std::string>{{"a.mp3", "mine"}}));
}

TEST(CopyTemporariesTest, NamesOfThePatternTellTheirProcess)
{
    const std::pair<const char*, pid_t> cases[] = {
        {".kovahdd-1234-0.tmp", 1234},  {".kovahdd-7-42.tmp", 7},        {".kovahdd-0-1.tmp", 0},
        {".kovahdd--5-1.tmp", 0},       {".kovahdd-12-.tmp", 0},         {".kovahdd-12.tmp", 0},
        {"kovahdd-12-1.tmp", 0},        {".kovahdd-12-1.tmp.mp3", 0},    {".kovahdd-1x-1.tmp", 0},
        {".kovahdd-12-1-2.tmp", 0},     {"song.mp3", 0},
    };
    for (const auto& [name, process] : cases) EXPECT_EQ(CopyTemporaryProcess(name), process) << name;
    EXPECT_EQ(CopyTemporaryProcess(CopyTemporaryName(getpid(), 3)), getpid());
}

TEST(CopyTemporariesTest, OnlyTheFilesOfProcessesThatEndedAreLeftovers)
{
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    ASSERT_GT(ended, 0);
    waitpid(ended, nullptr, 0);
    EXPECT_TRUE(IsLeftoverCopyTemporary(CopyTemporaryName(ended, 0)));
    EXPECT_FALSE(IsLeftoverCopyTemporary(CopyTemporaryName(getpid(), 0)));
    EXPECT_FALSE(IsLeftoverCopyTemporary(CopyTemporaryName(1, 0)));  // runs, as another user's process
    EXPECT_FALSE(IsLeftoverCopyTemporary("song.mp3"));
}

}  // namespace
