#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Inside the platform library only: the characters of a single-byte code page, so that names
// convert by table instead of through iconv (a walk converts every name of the device).
namespace platform {

class SingleByteTable {
public:
    static constexpr char32_t kUndefined = 0xFFFFFFFF;

    // characters: the Unicode character of each byte as the page's converter gives it, kUndefined
    // for a byte it leaves undefined.
    explicit SingleByteTable(const std::array<char32_t, 256>& characters);

    // UTF-8 of the page's text; an undefined byte becomes replacement.
    std::string ToUtf8(std::string_view text, char replacement) const;
    // The page's text of well-formed UTF-8 made only of characters that one byte of the page alone
    // stands for; empty for any other text, which the converter must decide on.
    std::optional<std::string> FromUtf8(std::string_view utf8) const;

private:
    // Characters below this find their byte at once; the page's few others by a search.
    static constexpr char32_t kDirectLimit = 0x800;
    static constexpr int16_t kNoByte = -1;

    std::optional<char> ByteOf(char32_t character) const;

    std::array<char32_t, 256> characters_;
    std::array<int16_t, kDirectLimit> directBytes_;        // kNoByte where no byte alone stands for it
    std::vector<std::pair<char32_t, char>> farBytes_;      // from kDirectLimit on, by character
};

}  // namespace platform
