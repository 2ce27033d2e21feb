#include "engine/playlist/playlistentry.h"

#include "engine/catalogue/entrysize.h"
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

// A space, then the value as FormatNumberBefore writes it.
void AppendNumber(std::string& out, int64_t value, int width)
{
    char field[kNumberRoom];
    char* const end = field + sizeof field;
    char* start = FormatNumberBefore(end, value, width);
    *--start = kFieldSeparator;
    out.append(start, end);
}

void AppendNavigationGroup(std::string& out, const CatalogueTrack& track, int32_t level,
                           const NavigationContext& context)
{
    const auto offset = static_cast<std::size_t>(level - 1);
    const int32_t ordinal = context.Ordinal(level);
    const int32_t count = context.Count(level);
    AppendNumber(out, ordinal, kOrdinalWidth);
    AppendNumber(out, count, kOrdinalWidth);
    AppendNumber(out, track.navigation[kBack1 + offset], kDistanceWidth);
    if (ordinal == count) {
        out += kFieldSeparator;
        out += kLastItemMark;
    } else {
        AppendNumber(out, track.navigation[kNext1 + offset], kDistanceWidth);
    }
    AppendNumber(out, track.navigation[kPrev1 + offset], kDistanceWidth);
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

void WriteTagField(std::string& entry, std::string_view text)
{
    const std::string_view field = text.substr(0, std::min(text.size(), kMaxFieldText));
    AppendNumber(entry, static_cast<int64_t>(field.size()), kTextLengthWidth);
    entry += kFieldOpen;
    entry += field;
    entry += kFieldClose;
}

std::string TrackNumberText(int32_t trackNumber)
{
    if (trackNumber == kNoTrackNumber) return std::string(kNoTrackNumberText);
    char digits[kNumberRoom];
    char* const end = digits + sizeof digits;
    return {FormatNumberBefore(end, trackNumber, kTrackNumberWidth), end};
}

std::string FormatPlaylistEntry(const CatalogueTrack& track, int32_t level, const NavigationContext& context)
{
    std::string entry;
    entry.reserve(static_cast<std::size_t>(EntrySize(track, level)));
    entry += kEntryTag;
    AppendNumber(entry, level, 1);
    AppendNumber(entry, track.entryNumber, kOrdinalWidth);
    AppendNumber(entry, track.entryLength, kEntryLengthWidth);
    WriteTagField(entry, track.album);
    WriteTagField(entry, track.artist);
    WriteTagField(entry, track.title);
    WriteTagField(entry, track.genre);
    WriteTagField(entry, TrackNumberText(track.trackNumber));
    WriteTagField(entry, track.reserved);
    for (int32_t navigationLevel = FirstLevelPresent(level); navigationLevel <= kLevelCount; ++navigationLevel) {
        AppendNavigationGroup(entry, track, navigationLevel, context);
    }
    AppendNumber(entry, static_cast<int64_t>(track.path.size()), kTextLengthWidth);
    entry += kLineEnd;
    entry += track.path;
    entry += kLineEnd;
    return entry;
}

}  // namespace engine
