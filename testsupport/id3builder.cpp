#include "testsupport/id3builder.h"

#include <algorithm>
#include <stdexcept>

namespace testsupport {

namespace {

constexpr std::string_view kId3v2Marker = "ID3";
constexpr std::array<uint8_t, 3> kId3v2VersionAndFlags = {0x03, 0x00, 0x00};  // ID3v2.3.0, no flags
constexpr uint32_t kLargestSynchsafeSize = (1u << 28) - 1;
constexpr std::size_t kFrameIdSize = 4;
constexpr std::array<uint8_t, 2> kFrameFlags = {0x00, 0x00};

constexpr std::string_view kId3v1Marker = "TAG";
constexpr std::size_t kId3v1BlockSize = 128;
constexpr std::size_t kId3v1TextSize = 30;
constexpr std::size_t kId3v1YearSize = 4;
constexpr std::size_t kId3v1TrackCommentSize = 28;

// An MPEG-1 Layer III frame header (128 kbit/s, 44.1 kHz) starts each filler frame; the rest of
// the frame is silence. Real decoders skip it; tag readers must not find a tag in it.
constexpr std::array<uint8_t, 4> kMpegFrameHeader = {0xFF, 0xFB, 0x90, 0x00};
constexpr std::size_t kMpegFrameSize = 417;

void AppendBytes(std::string& out, const auto& bytes)
{
    for (const uint8_t b : bytes) out.push_back(static_cast<char>(b));
}

// The text cut or padded with zero bytes to exactly size bytes.
std::string FixedField(std::string_view text, std::size_t size)
{
    std::string field(text.substr(0, size));
    field.resize(size, '\0');
    return field;
}

std::array<uint8_t, 4> BigEndianBytes(uint32_t value)
{
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value)};
}

std::string MpegSilence(std::size_t size)
{
    std::string audio(size, '\0');
    for (std::size_t frame = 0; frame < size; frame += kMpegFrameSize) {
        const std::size_t count = std::min(kMpegFrameHeader.size(), size - frame);
        std::copy_n(kMpegFrameHeader.begin(), count, audio.begin() + static_cast<std::ptrdiff_t>(frame));
    }
    return audio;
}

}  // namespace

std::array<uint8_t, 4> SynchsafeSizeBytes(uint32_t size)
{
    if (size > kLargestSynchsafeSize) throw std::invalid_argument("ID3v2 tag size above 2^28 - 1");
    return {static_cast<uint8_t>((size >> 21) & 0x7F), static_cast<uint8_t>((size >> 14) & 0x7F),
            static_cast<uint8_t>((size >> 7) & 0x7F), static_cast<uint8_t>(size & 0x7F)};
}

std::string Id3v2Frame(std::string_view id, std::string_view content)
{
    return Id3v2FrameDeclaringSize(id, static_cast<uint32_t>(content.size()), content);
}

std::string Id3v2FrameDeclaringSize(std::string_view id, uint32_t declaredSize, std::string_view content)
{
    if (id.size() != kFrameIdSize) throw std::invalid_argument("ID3v2 frame identifiers have 4 bytes");
    std::string frame(id);
    AppendBytes(frame, BigEndianBytes(declaredSize));
    AppendBytes(frame, kFrameFlags);
    frame.append(content);
    return frame;
}

std::string Id3v2TextFrame(std::string_view id, std::string_view text, uint8_t encoding)
{
    std::string content(1, static_cast<char>(encoding));
    content.append(text);
    return Id3v2Frame(id, content);
}

std::string Id3v2Tag(std::string_view frames, std::size_t padding)
{
    const std::size_t size = frames.size() + padding;
    if (size > kLargestSynchsafeSize) throw std::invalid_argument("ID3v2 tag size above 2^28 - 1");
    std::string tag = Id3v2TagWithSizeBytes(SynchsafeSizeBytes(static_cast<uint32_t>(size)), frames);
    tag.append(padding, '\0');
    return tag;
}

std::string Id3v2TagWithSizeBytes(std::array<uint8_t, 4> sizeBytes, std::string_view frames)
{
    std::string tag(kId3v2Marker);
    AppendBytes(tag, kId3v2VersionAndFlags);
    AppendBytes(tag, sizeBytes);
    tag.append(frames);
    return tag;
}

std::string Id3v1Block(const Id3v1Fields& fields)
{
    std::string block(kId3v1Marker);
    block += FixedField(fields.title, kId3v1TextSize);
    block += FixedField(fields.artist, kId3v1TextSize);
    block += FixedField(fields.album, kId3v1TextSize);
    block += FixedField(fields.year, kId3v1YearSize);
    if (fields.track == 0) {
        block += FixedField(fields.comment, kId3v1TextSize);
    } else {
        block += FixedField(fields.comment, kId3v1TrackCommentSize);
        block.push_back('\0');
        block.push_back(static_cast<char>(fields.track));
    }
    block.push_back(static_cast<char>(fields.genre));
    return block;
}

std::string Mp3File(std::string_view id3v2Tag, std::string_view id3v1Block, std::size_t audioBytes)
{
    return std::string(id3v2Tag) + MpegSilence(audioBytes) + std::string(id3v1Block);
}

}  // namespace testsupport
