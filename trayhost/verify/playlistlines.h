#pragma once

#include <cstddef>
#include <string>

namespace trayhost {

// The content of a user playlist, whose lines end with CR LF, LF or a lone CR, and what is left of it
// as lines are removed. Lines go in the order they come, and what is left is built as they go, so
// removing thousands of lines costs one pass.
class PlaylistLines {
public:
    PlaylistLines() = default;
    explicit PlaylistLines(std::string content) : content_(std::move(content)) {}

    // As read, removed lines included.
    const std::string& content() const { return content_; }

    // Removes the line from start to end (the position of its terminator) together with its
    // terminator: CR LF or LF go with the line; a lone CR stays and reads as an empty line. Returns
    // the position after what was removed. A line before one removed already, or past the content,
    // is left alone (end is returned).
    std::size_t Remove(std::size_t start, std::size_t end);

    bool removedAny() const { return removedAny_; }
    // The content without the removed lines.
    std::string Remaining() const;

private:
    std::string content_;
    std::string kept_;          // the content before keptUpTo_, less the removed lines
    std::size_t keptUpTo_ = 0;  // in content_
    bool removedAny_ = false;
};

}  // namespace trayhost
