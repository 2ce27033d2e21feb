#include "engine/playlist/tests/playlistparser.h"

#include <stdexcept>

namespace testsupport {

namespace {

class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

    std::size_t position() const { return position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }

    void Expect(std::string_view literal)
    {
        if (bytes_.substr(position_, literal.size()) != literal) Fail("expected \"" + std::string(literal) + "\"");
        position_ += literal.size();
    }

    bool Accept(std::string_view literal)
    {
        if (bytes_.substr(position_, literal.size()) != literal) return false;
        position_ += literal.size();
        return true;
    }

    std::string_view Take(std::size_t count)
    {
        if (count > bytes_.size() - position_) Fail("text runs past the end");
        const std::string_view taken = bytes_.substr(position_, count);
        position_ += count;
        return taken;
    }

    // A space and exactly width decimal digits.
    int64_t Number(std::size_t width)
    {
        Expect(" ");
        int64_t value = 0;
        for (char digit : Take(width)) {
            if (digit < '0' || digit > '9') Fail("expected a digit");
            value = value * 10 + (digit - '0');
        }
        return value;
    }

    std::string Line()
    {
        const std::size_t end = bytes_.find('\n', position_);
        if (end == std::string_view::npos) Fail("line without line feed");
        std::string line(bytes_.substr(position_, end - position_));
        position_ = end + 1;
        return line;
    }

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw std::runtime_error(what + " at byte " + std::to_string(position_));
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

std::string TextField(Cursor& cursor)
{
    const auto length = static_cast<std::size_t>(cursor.Number(3));
    cursor.Expect("<");
    std::string text(cursor.Take(length));
    cursor.Expect(">");
    return text;
}

ParsedNavigationGroup NavigationGroup(Cursor& cursor)
{
    ParsedNavigationGroup group;
    group.ordinal = static_cast<int32_t>(cursor.Number(4));
    group.count = static_cast<int32_t>(cursor.Number(4));
    group.back = cursor.Number(8);
    if (!cursor.Accept(" xxxxxxxx")) group.next = cursor.Number(8);
    group.prev = cursor.Number(8);
    return group;
}

ParsedEntry Entry(Cursor& cursor, std::size_t firstEntry)
{
    ParsedEntry entry;
    const std::size_t start = cursor.position();
    entry.offset = start - firstEntry;
    cursor.Expect("#EXTKOVAINF");
    entry.level = static_cast<int32_t>(cursor.Number(1));
    if (entry.level < 1 || entry.level > 3) cursor.Fail("bad level");
    entry.number = static_cast<int32_t>(cursor.Number(4));
    entry.length = static_cast<int32_t>(cursor.Number(6));
    for (std::string& field : entry.fields) field = TextField(cursor);
    for (int32_t level = 0; level < entry.level; ++level) entry.groups.push_back(NavigationGroup(cursor));
    const auto pathLength = static_cast<std::size_t>(cursor.Number(3));
    cursor.Expect("\n");
    entry.path = cursor.Take(pathLength);
    cursor.Expect("\n");
    entry.size = cursor.position() - start;
    return entry;
}

}  // namespace

ParsedPlaylist ParsePlaylist(std::string_view bytes)
{
    Cursor cursor(bytes);
    ParsedPlaylist playlist;
    playlist.header = cursor.Line();
    const std::size_t firstEntry = cursor.position();
    while (!cursor.AtEnd()) playlist.entries.push_back(Entry(cursor, firstEntry));
    playlist.entryBytes = cursor.position() - firstEntry;
    return playlist;
}

}  // namespace testsupport
