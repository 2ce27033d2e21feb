#include "engine/playlist/playlistentry.h"

#include "engine/playlist/playlistformat.h"
#include "engine/resources/strings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

namespace engine {

namespace {

// Room for a space, a sign and the 20 digits of any 64-bit value.
constexpr std::size_t kNumberRoom = 24;

// "00", "01", ... "99" one after another.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

constexpr std::array<int64_t, 10> kPowersOfTen{1, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000,
                                               100'000'000, 1'000'000'000};

// The entry level: one digit.
constexpr int kLevelWidth = 1;

// Exactly width digits of a value below 10 to the width, ending at end.
inline void PutDigitsBefore(char* end, uint64_t value, int width)
{
    for (; width >= 2; width -= 2) {
        end -= 2;
        std::memcpy(end, &kDigitPairs[2 * (value % 100)], 2);
        value /= 100;
    }
    if (width == 1) *--end = static_cast<char>('0' + value);
}

// The value zero-padded to at least width characters, as "%0*lld" writes it, ending at end; returns
// where it starts. Formatted by hand, two digits at a time: a playlist holds hundreds of thousands
// of numbers.
char* FormatNumberBefore(char* end, int64_t value, int width)
{
    char* start = end;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    while (magnitude >= 100) {
        start -= 2;
        std::memcpy(start, &kDigitPairs[2 * (magnitude % 100)], 2);
        magnitude /= 100;
    }
    if (magnitude >= 10) {
        start -= 2;
        std::memcpy(start, &kDigitPairs[2 * magnitude], 2);
    } else {
        *--start = static_cast<char>('0' + magnitude);
    }
    const std::ptrdiff_t digitsWide = width - (value < 0 ? 1 : 0);
    while (end - start < digitsWide) *--start = '0';
    if (value < 0) *--start = '-';
    return start;
}

// An entry's bytes, gathered in a buffer of their own and appended to the output in large pieces:
// appending an entry's fifty pieces to a string one by one costs more than formatting them.
class EntryBytes {
public:
    explicit EntryBytes(std::string& out) : out_(out) {}
    EntryBytes(const EntryBytes&) = delete;
    EntryBytes& operator=(const EntryBytes&) = delete;
    ~EntryBytes() { Flush(); }

    void Put(std::string_view bytes)
    {
        if (bytes.empty()) return;  // an empty view may hold no address, which memcpy must not get
        if (bytes.size() > Room()) {
            PutLong(bytes);
            return;
        }
        std::memcpy(end_, bytes.data(), bytes.size());
        end_ += bytes.size();
    }

    void Put(char byte)
    {
        if (Room() == 0) Flush();
        *end_++ = byte;
    }

    // A space, then the value as FormatNumberBefore writes it. The width is a constant of the
    // format, so that the digits of the usual number, one that fills the width, come unrolled.
    template <int Width>
    void PutNumber(int64_t value)
    {
        static_assert(Width > 0 && Width < static_cast<int>(kPowersOfTen.size()));
        if (Room() < kNumberRoom) Flush();
        *end_++ = kFieldSeparator;
        if (value >= 0 && value < kPowersOfTen[Width]) {
            end_ += Width;
            PutDigitsBefore(end_, static_cast<uint64_t>(value), Width);
            return;
        }
        end_ += std::max(Width, NumberLength(value));
        FormatNumberBefore(end_, value, Width);
    }

    // A space, the length of the text (at most kMaxFieldText bytes of it) as three digits, then the
    // text between '<' and '>'.
    void PutTagField(std::string_view text)
    {
        const std::string_view field = text.substr(0, std::min(text.size(), kMaxFieldText));
        PutNumber<kTextLengthWidth>(static_cast<int64_t>(field.size()));
        Put(kFieldOpen);
        Put(field);
        Put(kFieldClose);
    }

private:
    // Enough for an entry whose texts fill their fields.
    static constexpr std::size_t kBufferSize = 4096;

    std::size_t Room() const { return static_cast<std::size_t>(buffer_.data() + buffer_.size() - end_); }

    static int NumberLength(int64_t value)
    {
        uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        int length = value < 0 ? 2 : 1;
        for (; magnitude >= 10; magnitude /= 10) ++length;
        return length;
    }

    void PutLong(std::string_view bytes)
    {
        Flush();
        if (bytes.size() > Room()) {
            out_.append(bytes);
            return;
        }
        Put(bytes);
    }

    void Flush()
    {
        out_.append(buffer_.data(), static_cast<std::size_t>(end_ - buffer_.data()));
        end_ = buffer_.data();
    }

    std::string& out_;
    std::array<char, kBufferSize> buffer_;
    char* end_ = buffer_.data();
};

void PutNavigationGroup(EntryBytes& entry, const CatalogueTrack& track, int32_t level,
                        const NavigationContext& context)
{
    const auto offset = static_cast<std::size_t>(level - 1);
    const int32_t ordinal = context.Ordinal(level);
    const int32_t count = context.Count(level);
    entry.PutNumber<kOrdinalWidth>(ordinal);
    entry.PutNumber<kOrdinalWidth>(count);
    entry.PutNumber<kDistanceWidth>(track.navigation[kBack1 + offset]);
    if (ordinal == count) {
        entry.Put(kFieldSeparator);
        entry.Put(kLastItemMark);
    } else {
        entry.PutNumber<kDistanceWidth>(track.navigation[kNext1 + offset]);
    }
    entry.PutNumber<kDistanceWidth>(track.navigation[kPrev1 + offset]);
}

std::string UpperCaseAscii(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return upper;
}

}  // namespace

std::string FormatPlaylistHeader(PlaylistKind kind)
{
    if (!IsPlaylistKind(kind)) return {};
    const std::string label =
        UpperCaseAscii(LoadEngineString(kPlaylistLabelBaseId + static_cast<int>(kind)));
    std::string header;
    header.reserve(label.size() + kHeaderFixedBytes);
    header += kHeaderTag;
    header += kFieldSeparator;
    header += kFieldOpen;
    header += label;
    header += kFieldClose;
    header += kFieldSeparator;
    header += kHeaderVersion;
    header += kLineEnd;
    return header;
}

std::string TrackNumberText(int32_t trackNumber)
{
    if (trackNumber == kNoTrackNumber) return std::string(kNoTrackNumberText);
    char digits[kNumberRoom];
    char* const end = digits + sizeof digits;
    return {FormatNumberBefore(end, trackNumber, kTrackNumberWidth), end};
}

void AppendPlaylistEntry(std::string& out, const CatalogueTrack& track, int32_t level,
                         const NavigationContext& context)
{
    EntryBytes entry(out);
    entry.Put(kEntryTag);
    entry.PutNumber<kLevelWidth>(level);
    entry.PutNumber<kOrdinalWidth>(track.entryNumber);
    entry.PutNumber<kEntryLengthWidth>(track.entryLength);
    entry.PutTagField(track.album);
    entry.PutTagField(track.artist);
    entry.PutTagField(track.title);
    entry.PutTagField(track.genre);
    entry.PutTagField(TrackNumberText(track.trackNumber));
    entry.PutTagField(track.reserved);
    for (int32_t navigationLevel = FirstLevelPresent(level); navigationLevel <= kLevelCount; ++navigationLevel) {
        PutNavigationGroup(entry, track, navigationLevel, context);
    }
    entry.PutNumber<kTextLengthWidth>(static_cast<int64_t>(track.path.size()));
    entry.Put(kLineEnd);
    entry.Put(track.path);
    entry.Put(kLineEnd);
}

}  // namespace engine
