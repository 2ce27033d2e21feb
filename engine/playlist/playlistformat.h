#pragma once

#include "engine/catalogue/navigationcontext.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The system playlist format the player browses its library with: 8-bit text, every line ended by
// a bare line feed, no byte-order mark.
//
//   header  #EXTKOVAM3U <LABEL> V0.02
//   entry   #EXTKOVAINF L NNNN SSSSSS  (six fields " LLL<text>": album artist title genre track reserved)
//           (one group " OOOO CCCC BBBBBBBB NNNNNNNN PPPPPPPP" per level present)  PPP
//           ..\..\relative\path.mp3
//
// L is the entry level, N the entry number, S the entry size - 1; a field's LLL is its text length,
// and the text may itself hold '<' or '>'. A navigation group gives the ordinal and count of its
// level, then the Back, Next and Prev distances in bytes, counted within the entries (never the
// header) from the end of the current entry; the Next of the last item of a level is "xxxxxxxx".
// All numbers are zero-padded minimum widths: a wider number would shift every byte after it, and
// the player finds entries by the sizes recorded in them, so a playlist whose numbers do not fit
// is not written at all.
namespace engine {

inline constexpr std::string_view kHeaderTag = "#EXTKOVAM3U";
inline constexpr std::string_view kHeaderVersion = "V0.02";
inline constexpr std::string_view kEntryTag = "#EXTKOVAINF";
inline constexpr std::string_view kLastItemMark = "xxxxxxxx";
inline constexpr std::string_view kNoTrackNumberText = "--";
inline constexpr char kFieldSeparator = ' ';
inline constexpr char kFieldOpen = '<';
inline constexpr char kFieldClose = '>';
inline constexpr char kLineEnd = '\n';

inline constexpr int kOrdinalWidth = 4;  // entry numbers, ordinals and counts
inline constexpr int kEntryLengthWidth = 6;
inline constexpr int kDistanceWidth = 8;
inline constexpr int kTextLengthWidth = 3;
inline constexpr int kTrackNumberWidth = 2;

inline constexpr int64_t kMaxOrdinal = 9999;
inline constexpr int64_t kMaxDistance = 99'999'999;
inline constexpr int32_t kMaxTrackNumber = 99;
// A field carries at most this many text bytes (a record's text field without its terminator
// may hold this many).
inline constexpr std::size_t kMaxFieldText = 256;

// The header is the label plus this many bytes.
inline constexpr std::size_t kHeaderFixedBytes = 21;

// Entries at level L carry the navigation groups of levels 4 - L to 3: the innermost level is
// always there, the outer ones only in the tree playlists.
inline constexpr int32_t FirstLevelPresent(int32_t entryLevel)
{
    return kLevelCount + 1 - entryLevel;
}

}  // namespace engine
