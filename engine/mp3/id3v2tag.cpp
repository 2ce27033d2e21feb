#include "engine/mp3/id3v2tag.h"

#include "engine/mp3/tagtext.h"
#include "engine/scan/blanktext.h"

#include <algorithm>
#include <array>

namespace engine {

namespace {

constexpr std::string_view kMarker = "ID3";
constexpr std::size_t kSizeOffset = 6;
constexpr std::size_t kSizeByteCount = 4;
constexpr uint8_t kSynchsafeTopBit = 0x80;
constexpr unsigned kSynchsafeBits = 7;

constexpr std::size_t kFrameIdSize = 4;
constexpr std::size_t kFrameSizeOffset = 4;
constexpr std::size_t kFrameHeaderSize = 10;
constexpr uint8_t kEncodingSystemCodePage = 0;
// A text frame's text is at most min(F, 256) - 1 bytes: the field's 255 text bytes.
constexpr std::size_t kMaximumTextBytes = kTextFieldSize - 1;

constexpr char kTrackTotalSeparator = '/';
constexpr int32_t kLowestTrackNumber = 0;
constexpr int32_t kHighestTrackNumber = 99;

enum class WantedFrame { Album, Title, Artist, Genre, Track };

struct WantedFrameId {
    std::string_view id;
    WantedFrame frame;
};

// In the order the scan compares them.
constexpr std::array<WantedFrameId, 5> kWantedFrameIds = {{
    {"TALB", WantedFrame::Album},
    {"TIT2", WantedFrame::Title},
    {"TPE1", WantedFrame::Artist},
    {"TCON", WantedFrame::Genre},
    {"TRCK", WantedFrame::Track},
}};

uint8_t ByteAt(std::string_view bytes, std::size_t offset)
{
    return static_cast<uint8_t>(bytes[offset]);
}

uint32_t BigEndian32(std::string_view bytes)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | ByteAt(bytes, i);
    return value;
}

// Every wanted identifier starts with this byte, so the scan can pass over bytes that do not.
constexpr char kWantedFrameFirstByte = 'T';

// The bytes ahead of a scan position (a frame's look-ahead, fewer at the tag's end).
std::optional<WantedFrame> WantedFrameAt(std::string_view ahead)
{
    if (ahead.size() < kFrameIdSize) return std::nullopt;
    const std::string_view id = ahead.substr(0, kFrameIdSize);
    for (const WantedFrameId& wanted : kWantedFrameIds) {
        if (id == wanted.id) return wanted.frame;
    }
    return std::nullopt;
}

// How far the scan moves when no wanted frame starts here: to the next byte that could start one.
std::size_t DistanceToNextCandidate(std::string_view ahead)
{
    const std::size_t next = ahead.find(kWantedFrameFirstByte, 1);
    return next == std::string_view::npos ? std::max<std::size_t>(ahead.size(), 1) : next;
}

struct FrameAt {
    uint32_t contentSize;
    std::string_view contentStart;  // the first bytes of the content, at most kTextFieldSize of them
};

// The frame at position, or nothing when its header or its F content bytes would run past the tag:
// the size is a claim of the file and is checked before anything is read.
std::optional<FrameAt> FrameStartingAt(std::string_view ahead, uint64_t position, uint64_t tagSize)
{
    if (ahead.size() < kFrameHeaderSize) return std::nullopt;
    const uint32_t contentSize = BigEndian32(ahead.substr(kFrameSizeOffset));
    if (contentSize > tagSize - position - kFrameHeaderSize) return std::nullopt;
    return FrameAt{contentSize, ahead.substr(kFrameHeaderSize, std::min<std::size_t>(contentSize, kTextFieldSize))};
}

bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A TRCK text such as "7/12": the number before any "/", read like strtol (leading white space,
// an optional sign, digits; no digits gives 0). Only 0 to 99 is a track number.
int32_t TrackNumberFromText(std::string_view text)
{
    text = text.substr(0, text.find(kTrackTotalSeparator));
    while (!text.empty() && IsCSpace(text.front())) text.remove_prefix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    const int32_t magnitude = LeadingDigitsValue(text);
    const int32_t value = negative ? -magnitude : magnitude;
    return value >= kLowestTrackNumber && value <= kHighestTrackNumber ? value : kNoTrackNumber;
}

// Stores the text bytes of an encoding-0 frame (its content after the encoding byte).
void StoreFrameText(WantedFrame frame, std::string_view textBytes, TrackRecord& record)
{
    const std::string_view copied = textBytes.substr(0, kMaximumTextBytes);
    const std::string_view text = TrimTagText(TextUpToZero(copied));
    switch (frame) {
    case WantedFrame::Album:
        SetText(record.album, text);
        break;
    case WantedFrame::Title:
        SetText(record.title, text);
        break;
    case WantedFrame::Artist:
        SetText(record.artist, text);
        break;
    case WantedFrame::Genre:
        SetText(record.genre, IsBlankText(text) ? text : ResolveGenreReference(text));
        break;
    case WantedFrame::Track:
        // No text bytes at all means no track number; a text without digits reads as 0.
        record.trackNumber = copied.empty() ? kNoTrackNumber : TrackNumberFromText(TextUpToZero(copied));
        break;
    }
}

}  // namespace

bool HasId3v2Marker(std::string_view bytes)
{
    return bytes.starts_with(kMarker);
}

std::optional<uint32_t> Id3v2TagSize(std::string_view header)
{
    if (header.size() < kId3v2HeaderSize) return std::nullopt;
    uint32_t size = 0;
    for (std::size_t i = 0; i < kSizeByteCount; ++i) {
        const uint8_t group = ByteAt(header, kSizeOffset + i);
        if ((group & kSynchsafeTopBit) != 0) return std::nullopt;
        size = (size << kSynchsafeBits) | group;
    }
    if (size == 0) return std::nullopt;
    return size;
}

Id3v2TagBytes::Id3v2TagBytes(std::string_view bytes) : size_(bytes.size()), bytes_(bytes)
{
}

Id3v2TagBytes::Id3v2TagBytes(platform::File& file, uint64_t offset, uint64_t size, std::string_view firstBytes,
                             std::size_t windowSize)
    : file_(&file), offset_(offset), size_(size), windowSize_(std::max(windowSize, kFrameLookAhead)),
      window_(firstBytes.substr(0, std::min<uint64_t>(size, firstBytes.size()))), bytes_(window_)
{
}

std::string_view Id3v2TagBytes::At(uint64_t position, std::size_t length)
{
    if (position >= size_) return {};
    const bool outsideWindow =
        position < windowStart_ || std::min<uint64_t>(position + length, size_) > windowStart_ + bytes_.size();
    if (file_ && outsideWindow) Fill(position);
    // Filling may have found the file shorter than the tag claimed.
    const uint64_t end = std::min<uint64_t>(position + length, size_);
    if (position >= end) return {};
    return bytes_.substr(static_cast<std::size_t>(position - windowStart_), static_cast<std::size_t>(end - position));
}

void Id3v2TagBytes::Fill(uint64_t position)
{
    const auto wanted = static_cast<std::size_t>(std::min<uint64_t>(windowSize_, size_ - std::min(position, size_)));
    window_.resize(wanted);
    file_->Seek(static_cast<int64_t>(offset_ + position), platform::File::Origin::Begin);
    window_.resize(file_->Read(window_.data(), wanted));
    if (window_.size() < wanted) size_ = position + window_.size();
    windowStart_ = position;
    bytes_ = window_;
}

int32_t ScanId3v2Frames(Id3v2TagBytes& tag, TrackRecord& record)
{
    int32_t hits = 0;
    uint64_t position = 0;
    while (position < tag.size() && hits < kId3v2HitLimit) {
        const std::string_view ahead = tag.At(position, kFrameLookAhead);
        const std::optional<WantedFrame> frame = WantedFrameAt(ahead);
        if (!frame) {
            position += DistanceToNextCandidate(ahead);
            continue;
        }
        const std::optional<FrameAt> found = FrameStartingAt(ahead, position, tag.size());
        if (!found) break;
        ++hits;
        const std::string_view content = found->contentStart;
        // A frame of size 0 has no encoding byte and reads as an empty text.
        if (!content.empty() && ByteAt(content, 0) != kEncodingSystemCodePage) {
            // Not used; its content is scanned like any other bytes.
            position += kFrameHeaderSize;
            continue;
        }
        StoreFrameText(*frame, content.empty() ? content : content.substr(1), record);
        position += kFrameHeaderSize + found->contentSize;
    }
    return hits;
}

int32_t ScanId3v2Frames(std::string_view tagBytes, TrackRecord& record)
{
    Id3v2TagBytes tag(tagBytes);
    return ScanId3v2Frames(tag, record);
}

}  // namespace engine
