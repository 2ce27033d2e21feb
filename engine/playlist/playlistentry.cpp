#include "engine/playlist/playlistentry.h"

#include "engine/playlist/playlistformat.h"
#include "engine/resources/strings.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace engine {

namespace {

// Room for a space, a sign and the 20 digits of any 64-bit value.
constexpr std::size_t kNumberRoom = 24;
// Numbers of an entry at level 3: level, entry number, entry length, six text lengths, five in
// each navigation group and the path length.
constexpr std::size_t kNumbersInEntry = 3 + 6 + 5 * kLevelCount + 1;
// Bytes of an entry besides its texts and path, its numbers as wide as they come: the tag, the
// numbers, '<' and '>' of the six fields, the two line feeds; and the track number's text.
constexpr std::size_t kMostBytesBesideTexts = kEntryTag.size() + kNumbersInEntry * kNumberRoom + 6 * 2 + 2 + kNumberRoom;

// The entry level: one digit.
constexpr int kLevelWidth = 1;

// "0000", "0001", ... "9999" one after another: any number of a field's width is one to two of them.
constexpr int kTableDigits = 4;
constexpr uint64_t kTableLimit = 10'000;
constexpr std::array<char, kTableDigits * kTableLimit> kFourDigits = [] {
    std::array<char, kTableDigits * kTableLimit> digits{};
    for (std::size_t i = 0; i < kTableLimit; ++i) {
        digits[4 * i] = static_cast<char>('0' + i / 1000);
        digits[4 * i + 1] = static_cast<char>('0' + i / 100 % 10);
        digits[4 * i + 2] = static_cast<char>('0' + i / 10 % 10);
        digits[4 * i + 3] = static_cast<char>('0' + i % 10);
    }
    return digits;
}();

// Exactly Width digits of a value below 10 to the Width, at out; returns their end.
template <int Width>
char* PutDigits(char* out, uint64_t value)
{
    if constexpr (Width > kTableDigits) {
        out = PutDigits<Width - kTableDigits>(out, value / kTableLimit);
        return PutDigits<kTableDigits>(out, value % kTableLimit);
    } else {
        std::memcpy(out, &kFourDigits[kTableDigits * value + (kTableDigits - Width)], Width);
        return out + Width;
    }
}

// The value zero-padded to at least width characters, as "%0*lld" writes it, ending at end; returns
// where it starts. For the numbers that do not fit their field.
char* FormatNumberBefore(char* end, int64_t value, int width)
{
    char* start = end;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const std::ptrdiff_t digitsWide = width - (value < 0 ? 1 : 0);
    while (end - start < digitsWide) *--start = '0';
    if (value < 0) *--start = '-';
    return start;
}

// Writes an entry's pieces one after the other into room its caller made large enough.
class EntryWriter {
public:
    explicit EntryWriter(char* out) : out_(out) {}

    char* End() const { return out_; }

    void Put(std::string_view bytes)
    {
        if (bytes.empty()) return;  // an empty view may hold no address, which memcpy must not get
        std::memcpy(out_, bytes.data(), bytes.size());
        out_ += bytes.size();
    }

    void Put(char byte) { *out_++ = byte; }

    // A space, then the value zero-padded to Width digits, or wider when it needs more.
    template <int Width>
    void PutNumber(int64_t value)
    {
        static_assert(Width > 0 && Width <= 2 * kTableDigits);
        *out_++ = kFieldSeparator;
        if (value >= 0 && static_cast<uint64_t>(value) < PowerOfTen(Width)) {
            out_ = PutDigits<Width>(out_, static_cast<uint64_t>(value));
            return;
        }
        char digits[kNumberRoom];
        char* const end = digits + sizeof digits;
        Put(std::string_view(FormatNumberBefore(end, value, Width), end));
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

    // The track number's field: its text is two digits, or "--" for none.
    void PutTrackNumberField(int32_t trackNumber)
    {
        if (trackNumber < 0 || trackNumber > kMaxTrackNumber) {
            PutTagField(TrackNumberText(trackNumber));
            return;
        }
        PutNumber<kTextLengthWidth>(kTrackNumberWidth);
        Put(kFieldOpen);
        out_ = PutDigits<kTrackNumberWidth>(out_, static_cast<uint64_t>(trackNumber));
        Put(kFieldClose);
    }

private:
    static constexpr uint64_t PowerOfTen(int exponent)
    {
        uint64_t power = 1;
        for (int i = 0; i < exponent; ++i) power *= 10;
        return power;
    }

    char* out_;
};

void PutNavigationGroup(EntryWriter& entry, const CatalogueTrack& track, int32_t level,
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

std::size_t FieldBytes(std::string_view text)
{
    return std::min(text.size(), kMaxFieldText);
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

std::size_t MaxEntryBytes(const CatalogueTrack& track)
{
    return kMostBytesBesideTexts + FieldBytes(track.album) + FieldBytes(track.artist) + FieldBytes(track.title) +
           FieldBytes(track.genre) + FieldBytes(track.reserved) + track.path.size();
}

char* FormatPlaylistEntry(char* out, const CatalogueTrack& track, int32_t level, const NavigationContext& context)
{
    EntryWriter entry(out);
    entry.Put(kEntryTag);
    entry.PutNumber<kLevelWidth>(level);
    entry.PutNumber<kOrdinalWidth>(track.entryNumber);
    entry.PutNumber<kEntryLengthWidth>(track.entryLength);
    entry.PutTagField(track.album);
    entry.PutTagField(track.artist);
    entry.PutTagField(track.title);
    entry.PutTagField(track.genre);
    entry.PutTrackNumberField(track.trackNumber);
    entry.PutTagField(track.reserved);
    for (int32_t navigationLevel = FirstLevelPresent(level); navigationLevel <= kLevelCount; ++navigationLevel) {
        PutNavigationGroup(entry, track, navigationLevel, context);
    }
    entry.PutNumber<kTextLengthWidth>(static_cast<int64_t>(track.path.size()));
    entry.Put(kLineEnd);
    entry.Put(track.path);
    entry.Put(kLineEnd);
    return entry.End();
}

}  // namespace engine
