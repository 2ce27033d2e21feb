#include "trayhost/verify/playlistlines.h"

namespace trayhost {

namespace {

std::size_t TerminatorLength(const std::string& content, std::size_t end)
{
    if (end >= content.size()) return 0;
    if (content[end] == '\n') return 1;
    if (content.compare(end, 2, "\r\n") == 0) return 2;
    return 0;
}

}  // namespace

bool RemoveLine(std::string& content, std::size_t start, std::size_t end, std::size_t& cursor)
{
    if (end < start || end > content.size()) return false;
    content.erase(start, end - start + TerminatorLength(content, end));
    cursor = start;
    return true;
}

}  // namespace trayhost
