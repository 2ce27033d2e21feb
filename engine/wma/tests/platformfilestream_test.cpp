#include "engine/wma/platformfilestream.h"

#include "engine/wma/tests/wmatestfiles.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

class PlatformFileStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        device_.WriteFile("ten.bin", "0123456789");
        const std::string path = testsupport::DevicePath(device_, "ten.bin");
        stream_.emplace(platform::File::Open(path, platform::File::Mode::Read), path);
    }

    std::string Read(unsigned long length)
    {
        const TagLib::ByteVector block = stream_->readBlock(length);
        return std::string(block.data(), block.size());
    }

    testsupport::TemporaryDevice device_;
    std::optional<engine::PlatformFileStream> stream_;
};

TEST_F(PlatformFileStreamTest, ReadsAreCutToWhatTheFileHolds)
{
    EXPECT_EQ(stream_->length(), 10);
    stream_->seek(4);
    EXPECT_EQ(Read(ULONG_MAX), "456789");
    EXPECT_EQ(stream_->tell(), 10);
    EXPECT_EQ(Read(1), "");
}

TEST_F(PlatformFileStreamTest, SeeksRelativeToEachOrigin)
{
    stream_->seek(-3, TagLib::IOStream::End);
    EXPECT_EQ(Read(2), "78");
    stream_->seek(-4, TagLib::IOStream::Current);
    EXPECT_EQ(Read(1), "5");
}

TEST_F(PlatformFileStreamTest, APositionBeforeTheStartIsRefused)
{
    stream_->seek(5);
    stream_->seek(-6, TagLib::IOStream::Current);
    EXPECT_EQ(stream_->tell(), 5);
}

TEST_F(PlatformFileStreamTest, PositionsPastTheEndOrBeyondRangeReadNothing)
{
    stream_->seek(LONG_MAX);
    EXPECT_EQ(Read(4), "");
    stream_->seek(LONG_MAX, TagLib::IOStream::Current);  // would overflow: refused
    EXPECT_EQ(stream_->tell(), LONG_MAX);
}

TEST_F(PlatformFileStreamTest, NeverWritesTheFile)
{
    EXPECT_TRUE(stream_->readOnly());
    stream_->writeBlock(TagLib::ByteVector("xx", 2));
    stream_->truncate(0);
    stream_->removeBlock(0, 5);
    EXPECT_EQ(device_.ReadFile("ten.bin"), "0123456789");
}

}  // namespace
