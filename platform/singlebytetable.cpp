#include "platform/singlebytetable.h"

#include <algorithm>

namespace platform {

namespace {

constexpr char32_t kTwoByteLimit = 0x800;
constexpr char32_t kSurrogatesStart = 0xD800;
constexpr char32_t kSurrogatesEnd = 0xDFFF;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

void AppendUtf8(std::string& out, char32_t character)
{
    if (character < 0x80) {
        out += static_cast<char>(character);
    } else if (character < kTwoByteLimit) {
        out += static_cast<char>(0xC0 | (character >> 6));
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (character >> 12));
        out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    }
}

// The character of the well-formed sequence of one to three bytes at the start of text, and its
// length; nothing for anything else (an overlong form, a surrogate, a four-byte sequence), which no
// byte of a single-byte page stands for.
std::optional<std::pair<char32_t, std::size_t>> DecodeUtf8(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return std::pair(char32_t{lead}, std::size_t{1});
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : 0;
    if (length == 0 || text.size() < length) return std::nullopt;
    char32_t character = lead & (length == 2 ? 0x1F : 0x0F);
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!IsContinuation(byte)) return std::nullopt;
        character = (character << 6) | (byte & 0x3F);
    }
    const bool overlong = length == 3 && character < kTwoByteLimit;
    const bool surrogate = character >= kSurrogatesStart && character <= kSurrogatesEnd;
    if (overlong || surrogate) return std::nullopt;
    return std::pair(character, length);
}

}  // namespace

SingleByteTable::SingleByteTable(const std::array<char32_t, 256>& characters) : characters_(characters)
{
    for (std::size_t byte = 0; byte < characters.size(); ++byte) {
        if (characters[byte] != kUndefined) bytes_.emplace_back(characters[byte], static_cast<char>(byte));
    }
    std::sort(bytes_.begin(), bytes_.end());
    // A character that two bytes stand for is left to the converter, which knows which one it writes.
    std::vector<std::pair<char32_t, char>> unique;
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        const bool shared = (i > 0 && bytes_[i - 1].first == bytes_[i].first) ||
                            (i + 1 < bytes_.size() && bytes_[i + 1].first == bytes_[i].first);
        if (!shared) unique.push_back(bytes_[i]);
    }
    bytes_ = std::move(unique);
}

std::string SingleByteTable::ToUtf8(std::string_view text, char replacement) const
{
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char byte : text) {
        const char32_t character = characters_[static_cast<unsigned char>(byte)];
        if (character == kUndefined) utf8 += replacement;
        else AppendUtf8(utf8, character);
    }
    return utf8;
}

std::optional<std::string> SingleByteTable::FromUtf8(std::string_view utf8) const
{
    std::string text;
    text.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::optional<std::pair<char32_t, std::size_t>> decoded = DecodeUtf8(utf8);
        if (!decoded) return std::nullopt;
        const auto found = std::lower_bound(bytes_.begin(), bytes_.end(), std::pair(decoded->first, char{0}),
                                            [](const auto& a, const auto& b) { return a.first < b.first; });
        if (found == bytes_.end() || found->first != decoded->first) return std::nullopt;
        text += found->second;
        utf8.remove_prefix(decoded->second);
    }
    return text;
}

}  // namespace platform
