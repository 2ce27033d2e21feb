#pragma once

#include "engine/catalogue/trackrecord.h"
#include "engine/wma/headerinfo.h"
#include "engine/wma/wmformat.h"

#include "platform/files.h"

#include <cstdint>

// Fills a track record from a WMA file's header attributes.
namespace engine {

enum WmaReadResult : int32_t {
    kWmaRead = 1,              // any of the attributes may have been absent
    kWmaPathNotConverted = 0,  // the path is not valid text in the system code page (or is null)
    kWmaCannotOpen = -1,       // missing file, or a header that does not read as ASF
    kWmaNoHeaderInfo = -2,
    kWmaFileSystemError = -5,  // the file system failed while the header was being read
    kWmaNoEditor = -7,
    kWmaNotWmaPath = -8,       // the path's extension is not WMA (any case); no extension is accepted
};

// Sets album, title, artist, genre and track number from "WM/AlbumTitle", "WM/Title" (else "Title"),
// "WM/Author" (else "Author"), "WM/Genre" and "WM/Track". An absent attribute leaves its field as it
// was. Texts are neither trimmed nor resolved as genre references; the track number is the
// attribute's leading decimal number, 99 at most, and 9999 when negative. Failures are written to
// standard output as diagnostic lines.
int32_t ReadWmaAttributes(const char* path, TrackRecord* record);
// The same from a file already open for reading: the results of the path form but
// kWmaPathNotConverted, kWmaNotWmaPath and the kWmaCannotOpen of a file that does not open.
int32_t ReadWmaAttributes(platform::File& file, TrackRecord& record);

// Reads one file-level attribute into text: a string in the system code page, a DWORD or WORD in
// decimal; a value of any other type leaves text as it was but counts as found. kSOk with found
// false when the attribute does not exist; the failing call's code (text unchanged, found false)
// when it cannot be read, including a value longer than kAttributeValueBufferSize.
HResult ReadWmaAttribute(HeaderInfo& headerInfo, const char16_t* name, char (&text)[kTextFieldSize], bool& found);

}  // namespace engine
