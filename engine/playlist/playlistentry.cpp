#include "engine/playlist/playlistentry.h"

#include "engine/catalogue/entrysize.h"
#include "engine/playlist/playlistformat.h"
#include "engine/resources/strings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace engine {

namespace {

// A space, then the value zero-padded to at least width characters, as "%0*lld" writes it (formatted
// by hand: a playlist holds tens of thousands of numbers).
void AppendNumber(std::string& out, int64_t value, int width)
{
    char digits[24];
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    const auto length = static_cast<int>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
    const int sign = value < 0 ? 1 : 0;
    out += kFieldSeparator;
    if (sign) out += '-';
    out.append(static_cast<std::size_t>(std::max(0, width - sign - length)), '0');
    out.append(digits, static_cast<std::size_t>(length));
}

void AppendNavigationGroup(std::string& out, const TrackRecord& record, int32_t level,
                           const NavigationContext& context)
{
    const auto offset = static_cast<std::size_t>(level - 1);
    const int32_t ordinal = context.Ordinal(level);
    const int32_t count = context.Count(level);
    AppendNumber(out, ordinal, kOrdinalWidth);
    AppendNumber(out, count, kOrdinalWidth);
    AppendNumber(out, record.navigation[kBack1 + offset], kDistanceWidth);
    if (ordinal == count) {
        out += kFieldSeparator;
        out += kLastItemMark;
    } else {
        AppendNumber(out, record.navigation[kNext1 + offset], kDistanceWidth);
    }
    AppendNumber(out, record.navigation[kPrev1 + offset], kDistanceWidth);
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
    char digits[16];
    const int length = std::snprintf(digits, sizeof digits, "%0*d", kTrackNumberWidth, trackNumber);
    return {digits, static_cast<std::size_t>(length)};
}

std::string FormatPlaylistEntry(const TrackRecord& record, int32_t level, const NavigationContext& context)
{
    const std::string_view path = TextOf(record.path);
    std::string entry;
    entry.reserve(static_cast<std::size_t>(EntrySize(record, level)));
    entry += kEntryTag;
    AppendNumber(entry, level, 1);
    AppendNumber(entry, record.entryNumber, kOrdinalWidth);
    AppendNumber(entry, record.entryLength, kEntryLengthWidth);
    WriteTagField(entry, TextOf(record.album));
    WriteTagField(entry, TextOf(record.artist));
    WriteTagField(entry, TextOf(record.title));
    WriteTagField(entry, TextOf(record.genre));
    WriteTagField(entry, TrackNumberText(record.trackNumber));
    WriteTagField(entry, TextOf(record.reserved));
    for (int32_t navigationLevel = FirstLevelPresent(level); navigationLevel <= kLevelCount; ++navigationLevel) {
        AppendNavigationGroup(entry, record, navigationLevel, context);
    }
    AppendNumber(entry, static_cast<int64_t>(path.size()), kTextLengthWidth);
    entry += kLineEnd;
    entry += path;
    entry += kLineEnd;
    return entry;
}

}  // namespace engine
