#pragma once

#include <string_view>

namespace engine {

// True for an empty text or one made only of spaces (0x20).
inline bool IsBlankText(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace engine
