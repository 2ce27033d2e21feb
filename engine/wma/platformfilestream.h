#pragma once

#include "platform/errors.h"
#include "platform/files.h"

#include <tiostream.h>

#include <cstdint>
#include <optional>
#include <string>

namespace engine {

// TagLib's view of a file opened through the drive map. Read-only: TagLib reads the ASF header
// through it and nothing else. Every read is cut to what the file holds, so a length taken from a
// damaged header never allocates more than the file's size. A file-system failure does not unwind
// through TagLib: it is kept, later reads give nothing, and the owner raises it once TagLib is done.
class PlatformFileStream : public TagLib::IOStream {
public:
    // Takes the file's length now; throws platform::FileError when it cannot be read.
    PlatformFileStream(platform::File file, std::string path);

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    bool readOnly() const override;
    bool isOpen() const override;
    // A position before the start is refused, as fseek refuses it; past the end reads nothing.
    void seek(long offset, Position origin = Beginning) override;
    long tell() const override;
    long length() override;

    // TagLib writes only through File::save, which it refuses for a read-only stream; these never change the file.
    void writeBlock(const TagLib::ByteVector& data) override;
    void insert(const TagLib::ByteVector& data, unsigned long start = 0, unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    void truncate(long length) override;

    // The first file-system failure met while reading, if any.
    const std::optional<platform::FileError>& failure() const { return failure_; }

private:
    platform::File file_;
    std::string path_;
    int64_t length_;
    int64_t position_ = 0;
    std::optional<platform::FileError> failure_;
};

}  // namespace engine
