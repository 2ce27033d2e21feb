#include "engine/tagcache/tagcachefile.h"

#include "engine/tagcache/fnv1a.h"

#include <algorithm>
#include <limits>

namespace engine {

namespace {

constexpr std::string_view kMagic = "KOVATAGS";
// Widths of the numbers, and of the lengths before paths and texts.
constexpr std::size_t kNumberSize = 4;
constexpr std::size_t kStampPartSize = 8;
constexpr std::size_t kPathLengthSize = 2;
constexpr std::size_t kTextLengthSize = 1;
constexpr std::size_t kFlagSize = 1;
constexpr std::size_t kDigestSize = 8;
constexpr std::size_t kCountSize = 4;
constexpr std::size_t kChecksumSize = 8;
constexpr std::size_t kTrailerSize = kCountSize + kChecksumSize;
// A record of empty texts: what a file's size allows at most.
constexpr std::size_t kSmallestRecord = kPathLengthSize + 2 * kStampPartSize + 2 * kNumberSize + 4 * kTextLengthSize;
constexpr std::size_t kMaxTextLength = std::numeric_limits<uint8_t>::max();
constexpr std::size_t kMaxPathLength = std::numeric_limits<uint16_t>::max();
constexpr uint64_t kAbsent = 0;
constexpr uint64_t kPresent = 1;

void AppendNumber(std::string& bytes, uint64_t value, std::size_t width)
{
    char number[sizeof value];
    for (std::size_t i = 0; i < width; ++i) number[i] = static_cast<char>(value >> (8 * i));
    bytes.append(number, width);
}

// The text after its length in lengthWidth bytes; a longer text than that width holds is cut.
void AppendText(std::string& bytes, std::string_view text, std::size_t lengthWidth, std::size_t maxLength)
{
    const std::string_view kept = text.substr(0, std::min(text.size(), maxLength));
    AppendNumber(bytes, kept.size(), lengthWidth);
    bytes += kept;
}

// Reads what a writer wrote; every read past the end fails instead, and so does all that follows.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : rest_(bytes) {}

    bool AtEnd() const { return rest_.empty(); }
    std::string_view Rest() const { return rest_; }
    bool Failed() const { return failed_; }

    std::string_view Bytes(std::size_t count)
    {
        if (failed_ || count > rest_.size()) {
            failed_ = true;
            return {};
        }
        const std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(count);
        return taken;
    }
    uint64_t Number(std::size_t width)
    {
        const std::string_view bytes = Bytes(width);
        uint64_t value = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) value |= uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
        return value;
    }
    int32_t SignedNumber() { return static_cast<int32_t>(static_cast<uint32_t>(Number(kNumberSize))); }
    std::string_view Text(std::size_t lengthWidth) { return Bytes(Number(lengthWidth)); }

private:
    std::string_view rest_;
    bool failed_ = false;
};

void WriteStamp(std::string& bytes, const platform::FileStamp& stamp)
{
    AppendNumber(bytes, stamp.size, kStampPartSize);
    AppendNumber(bytes, static_cast<uint64_t>(stamp.lastWriteNanoseconds), kStampPartSize);
}

platform::FileStamp ReadStamp(ByteReader& in)
{
    platform::FileStamp stamp;
    stamp.size = in.Number(kStampPartSize);
    stamp.lastWriteNanoseconds = static_cast<int64_t>(in.Number(kStampPartSize));
    return stamp;
}

void WritePlaylists(std::string& bytes, const std::optional<WrittenPlaylists>& playlists)
{
    AppendNumber(bytes, playlists ? kPresent : kAbsent, kFlagSize);
    if (!playlists) return;
    AppendNumber(bytes, playlists->catalogueDigest, kDigestSize);
    for (const platform::FileStamp& stamp : playlists->files) WriteStamp(bytes, stamp);
}

// False for a flag that is neither.
bool ReadPlaylists(ByteReader& in, std::optional<WrittenPlaylists>& playlists)
{
    const uint64_t flag = in.Number(kFlagSize);
    if (flag != kPresent) return flag == kAbsent;
    playlists.emplace();
    playlists->catalogueDigest = in.Number(kDigestSize);
    for (platform::FileStamp& stamp : playlists->files) stamp = ReadStamp(in);
    return true;
}

CachedTags ReadRecord(ByteReader& in)
{
    CachedTags file;
    file.devicePath = in.Text(kPathLengthSize);
    file.stamp = ReadStamp(in);
    file.readResult = in.SignedNumber();
    file.trackNumber = in.SignedNumber();
    for (std::string_view* text : {&file.album, &file.artist, &file.title, &file.genre}) *text = in.Text(kTextLengthSize);
    return file;
}

bool ReadOwner(ByteReader& in, const TagCacheOwner& owner)
{
    if (in.Bytes(kMagic.size()) != kMagic || in.Number(kNumberSize) != kTagCacheFormatVersion) return false;
    if (in.Number(kNumberSize) != owner.codePage) return false;
    return in.Text(kPathLengthSize) == owner.deviceIdentity && !in.Failed();
}

// The bytes Add writes for the file.
std::size_t RecordSize(const CachedTags& file)
{
    std::size_t size = kPathLengthSize + std::min(file.devicePath.size(), kMaxPathLength) + 2 * kStampPartSize +
                       2 * kNumberSize;
    for (const std::string_view text : {file.album, file.artist, file.title, file.genre}) {
        size += kTextLengthSize + std::min(text.size(), kMaxTextLength);
    }
    return size;
}

}  // namespace

std::vector<std::string_view> TagCacheFileBytes::Pieces() const
{
    std::vector<std::string_view> pieces{head};
    pieces.insert(pieces.end(), records.begin(), records.end());
    pieces.push_back(tail);
    return pieces;
}

std::string& TagCacheWriter::BlockWithRoom(std::size_t size)
{
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < size) {
        blocks_.emplace_back().reserve(std::max(kBlockSize, size));
    }
    return blocks_.back();
}

void TagCacheWriter::Add(const CachedTags& file)
{
    std::string& block = BlockWithRoom(RecordSize(file));
    const std::size_t start = block.size();
    AppendText(block, file.devicePath, kPathLengthSize, kMaxPathLength);
    WriteStamp(block, file.stamp);
    AppendNumber(block, static_cast<uint32_t>(file.readResult), kNumberSize);
    AppendNumber(block, static_cast<uint32_t>(file.trackNumber), kNumberSize);
    for (const std::string_view text : {file.album, file.artist, file.title, file.genre}) {
        AppendText(block, text, kTextLengthSize, kMaxTextLength);
    }
    AddRecord(std::string_view(block).substr(start));
}

void TagCacheWriter::AddRecord(std::string_view record)
{
    if (!records_.empty() && records_.back().data() + records_.back().size() == record.data()) {
        records_.back() = std::string_view(records_.back().data(), records_.back().size() + record.size());
    } else {
        records_.push_back(record);
    }
    ++count_;
}

TagCacheFileBytes TagCacheWriter::File(const TagCacheOwner& owner) const
{
    TagCacheFileBytes file;
    file.head = kMagic;
    AppendNumber(file.head, kTagCacheFormatVersion, kNumberSize);
    AppendNumber(file.head, owner.codePage, kNumberSize);
    AppendText(file.head, owner.deviceIdentity, kPathLengthSize, kMaxPathLength);
    WritePlaylists(file.head, playlists_);
    file.records = records_;
    AppendNumber(file.tail, count_, kCountSize);
    uint64_t checksum = Fnv1a(file.head);
    for (const std::string_view records : file.records) checksum = Fnv1a(records, checksum);
    AppendNumber(file.tail, Fnv1a(file.tail, checksum), kChecksumSize);
    return file;
}

std::optional<TagCacheContent> ReadTagCacheFile(std::string_view bytes, const TagCacheOwner& owner)
{
    if (bytes.size() < kTrailerSize) return std::nullopt;
    const std::string_view checked = bytes.substr(0, bytes.size() - kChecksumSize);
    ByteReader trailer(bytes.substr(bytes.size() - kTrailerSize));
    const uint64_t count = trailer.Number(kCountSize);
    if (trailer.Number(kChecksumSize) != Fnv1a(checked)) return std::nullopt;

    ByteReader in(checked.substr(0, checked.size() - kCountSize));
    TagCacheContent content;
    if (!ReadOwner(in, owner) || !ReadPlaylists(in, content.playlists)) return std::nullopt;
    std::vector<CachedTags>& files = content.files;
    files.reserve(std::min<uint64_t>(count, bytes.size() / kSmallestRecord));
    content.fileRecords.reserve(files.capacity());
    while (!in.AtEnd() && !in.Failed() && files.size() < count) {
        const std::string_view before = in.Rest();
        files.push_back(ReadRecord(in));
        content.fileRecords.push_back(before.substr(0, before.size() - in.Rest().size()));
    }
    if (in.Failed() || !in.AtEnd() || files.size() != count) return std::nullopt;
    return content;
}

}  // namespace engine
