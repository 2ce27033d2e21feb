#pragma once

#include "engine/catalogue/navigationcontext.h"
#include "engine/catalogue/playlistkind.h"
#include "engine/catalogue/cataloguetrack.h"

#include <cstdint>
#include <string>
#include <string_view>

// The bytes of the playlist format (engine/playlist/playlistformat.h), built in memory so that a
// header or an entry reaches the file in one write.
namespace engine {

// "#EXTKOVAM3U <LABEL> V0.02" and a line feed; empty for a value that is no playlist kind.
std::string FormatPlaylistHeader(PlaylistKind kind);

// Appends one text field: a space, the length as three digits, '<', the text, '>'. At most
// kMaxFieldText bytes of the text are taken.
void WriteTagField(std::string& entry, std::string_view text);

// "--" for a track without track number, else the number as two digits.
std::string TrackNumberText(int32_t trackNumber);

// Both lines of the track's entry at this level, from the entry number, entry length and
// navigation values already stored in the track.
std::string FormatPlaylistEntry(const CatalogueTrack& track, int32_t level, const NavigationContext& context);

}  // namespace engine
