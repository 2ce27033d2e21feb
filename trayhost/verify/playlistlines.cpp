#include "trayhost/verify/playlistlines.h"

#include <string_view>

namespace trayhost {

namespace {

std::size_t TerminatorLength(std::string_view content, std::size_t end)
{
    if (end >= content.size()) return 0;
    if (content[end] == '\n') return 1;
    if (content.substr(end, 2) == "\r\n") return 2;
    return 0;
}

}  // namespace

std::size_t PlaylistLines::Remove(std::size_t start, std::size_t end)
{
    if (start < keptUpTo_ || end < start || end > content_.size()) return end;
    kept_.append(content_, keptUpTo_, start - keptUpTo_);
    keptUpTo_ = end + TerminatorLength(content_, end);
    removedAny_ = true;
    return keptUpTo_;
}

std::string PlaylistLines::Remaining() const
{
    return kept_ + content_.substr(keptUpTo_);
}

}  // namespace trayhost
