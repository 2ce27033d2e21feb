#pragma once

#include "engine/catalogue/cataloguetrack.h"
#include "engine/catalogue/navigationcontext.h"
#include "engine/catalogue/playlistkind.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes of the playlist format (engine/playlist/playlistformat.h), built in memory so that a
// header or an entry reaches the file in one write.
namespace engine {

// "#EXTKOVAM3U <LABEL> V0.02" and a line feed; empty for a value that is no playlist kind.
std::string FormatPlaylistHeader(PlaylistKind kind);

// "--" for a track without track number, else the number as two digits.
std::string TrackNumberText(int32_t trackNumber);

// The most bytes FormatPlaylistEntry writes for the track, whatever its numbers.
std::size_t MaxEntryBytes(const CatalogueTrack& track);

// Writes both lines of the track's entry at this level to out, which has room for
// MaxEntryBytes(track), from the entry number, entry length and navigation values already stored
// in the track; returns the end of what it wrote. A text field is a space, the length as three
// digits, '<', the text, '>'; at most kMaxFieldText bytes of a text are taken.
char* FormatPlaylistEntry(char* out, const CatalogueTrack& track, int32_t level, const NavigationContext& context);

}  // namespace engine
