#pragma once

#include <string>
#include <string_view>
#include <vector>

// A small reader of rich text (RTF), enough for the help file of the KovaSync options: paragraphs,
// bold, italic, underline and font sizes, characters written as \'hh (in the document's code page,
// \ansicpgN, else the system code page) or \uN, groups, and the common named symbols. Everything
// else is left out: font and colour tables, style sheets, pictures, embedded objects, and every
// group marked \* that the reader does not know.
//
// The file is hostile input like any other: every byte sequence reads into some document, each
// parameter is bounded, \binN never skips past the end, and the text is always valid UTF-8.
namespace trayhost {

// The size of text that names none: 12 points, as in RTF.
inline constexpr int kRtfDefaultHalfPoints = 24;
// Font sizes are kept within these bounds (4 to 144 points), so that no size given in a file can
// make the text unreadable or its layout enormous.
inline constexpr int kRtfMinHalfPoints = 8;
inline constexpr int kRtfMaxHalfPoints = 288;

struct RtfFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = kRtfDefaultHalfPoints;  // \fsN: the font size in half points

    bool operator==(const RtfFormat&) const = default;
};

// Text of one format. A tab is '\t'; a line break inside the paragraph (\line) is '\n'.
struct RtfRun {
    std::string text;  // UTF-8
    RtfFormat format;

    bool operator==(const RtfRun&) const = default;
};

struct RtfParagraph {
    std::vector<RtfRun> runs;  // never two neighbours of one format; empty for an empty paragraph

    bool operator==(const RtfParagraph&) const = default;
};

struct RtfDocument {
    // Every paragraph the text ended with \par (or \sect, \page, \row), then the text after the
    // last of them when there is any.
    std::vector<RtfParagraph> paragraphs;
};

RtfDocument ReadRtf(std::string_view bytes);

}  // namespace trayhost
