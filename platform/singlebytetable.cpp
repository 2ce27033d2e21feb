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
    std::vector<std::pair<char32_t, char>> bytes;
    for (std::size_t byte = 0; byte < characters.size(); ++byte) {
        if (characters[byte] != kUndefined) bytes.emplace_back(characters[byte], static_cast<char>(byte));
    }
    std::sort(bytes.begin(), bytes.end());
    directBytes_.fill(kNoByte);
    // A character that two bytes stand for is left to the converter, which knows which one it writes.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool shared = (i > 0 && bytes[i - 1].first == bytes[i].first) ||
                            (i + 1 < bytes.size() && bytes[i + 1].first == bytes[i].first);
        if (shared) continue;
        const auto [character, byte] = bytes[i];
        if (character < kDirectLimit) directBytes_[character] = static_cast<unsigned char>(byte);
        else farBytes_.push_back(bytes[i]);
    }
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
    std::string text(utf8.size(), '\0');  // never longer than the UTF-8
    std::size_t length = 0;
    while (!utf8.empty()) {
        const std::optional<std::pair<char32_t, std::size_t>> decoded = DecodeUtf8(utf8);
        const std::optional<char> byte = decoded ? ByteOf(decoded->first) : std::nullopt;
        if (!byte) return std::nullopt;
        text[length++] = *byte;
        utf8.remove_prefix(decoded->second);
    }
    text.resize(length);
    return text;
}

std::optional<char> SingleByteTable::ByteOf(char32_t character) const
{
    if (character < kDirectLimit) {
        const int16_t byte = directBytes_[character];
        return byte == kNoByte ? std::nullopt : std::optional<char>(static_cast<char>(byte));
    }
    const auto found = std::lower_bound(farBytes_.begin(), farBytes_.end(), std::pair(character, char{0}),
                                        [](const auto& a, const auto& b) { return a.first < b.first; });
    if (found == farBytes_.end() || found->first != character) return std::nullopt;
    return found->second;
}

}  // namespace platform
