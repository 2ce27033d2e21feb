#include "engine/wma/platformfilestream.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace engine {

PlatformFileStream::PlatformFileStream(platform::File file, std::string path)
    : file_(std::move(file)), path_(std::move(path)), length_(static_cast<int64_t>(file_.Length()))
{
}

TagLib::FileName PlatformFileStream::name() const
{
    return path_.c_str();
}

TagLib::ByteVector PlatformFileStream::readBlock(unsigned long length)
{
    if (failure_ || position_ >= length_) return {};
    const auto count = static_cast<unsigned int>(
        std::min<uint64_t>({length, static_cast<uint64_t>(length_ - position_), std::numeric_limits<unsigned int>::max()}));
    if (count == 0) return {};
    TagLib::ByteVector block(count, '\0');
    try {
        file_.Seek(position_, platform::File::Origin::Begin);
        const std::size_t read = file_.Read(block.data(), count);
        block.resize(static_cast<unsigned int>(read));
        position_ += static_cast<int64_t>(read);
    } catch (const platform::FileError& error) {
        failure_ = error;
        return {};
    }
    return block;
}

bool PlatformFileStream::readOnly() const
{
    return true;
}

bool PlatformFileStream::isOpen() const
{
    return file_.IsOpen();
}

void PlatformFileStream::seek(long offset, Position origin)
{
    int64_t base = 0;
    if (origin == Current) base = position_;
    if (origin == End) base = length_;
    int64_t target = 0;
    if (__builtin_add_overflow(base, static_cast<int64_t>(offset), &target) || target < 0) return;
    position_ = target;
}

long PlatformFileStream::tell() const
{
    return static_cast<long>(position_);
}

long PlatformFileStream::length()
{
    return static_cast<long>(length_);
}

void PlatformFileStream::writeBlock(const TagLib::ByteVector&)
{
}

void PlatformFileStream::insert(const TagLib::ByteVector&, unsigned long, unsigned long)
{
}

void PlatformFileStream::removeBlock(unsigned long, unsigned long)
{
}

void PlatformFileStream::truncate(long)
{
}

}  // namespace engine
