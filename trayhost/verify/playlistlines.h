#pragma once

#include <cstddef>
#include <string>

// The lines of a user playlist as the player reads them: each ends with CR LF, LF or a lone CR.
namespace trayhost {

inline bool IsLineEnd(char byte)
{
    return byte == '\r' || byte == '\n';
}

// Removes the line from start to end (the position of its terminator) together with its terminator:
// CR LF or LF go with the line; a lone CR stays and reads as an empty line. The cursor moves to
// start. False, changing nothing, when end lies before start or past the content.
bool RemoveLine(std::string& content, std::size_t start, std::size_t end, std::size_t& cursor);

}  // namespace trayhost
