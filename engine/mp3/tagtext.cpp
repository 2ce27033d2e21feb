#include "engine/mp3/tagtext.h"

#include "engine/mp3/genretable.h"

#include <limits>

namespace engine {

namespace {

constexpr char kSpace = ' ';
constexpr char kReferenceOpen = '(';
constexpr char kReferenceClose = ')';

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::string_view TrimTagText(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return text;
    const std::size_t last = text.find_last_not_of(kSpace);
    return text.substr(first, last - first + 1);
}

std::string_view ResolveGenreReference(std::string_view text)
{
    while (text.size() > 1 && text.front() == kReferenceOpen) {
        const std::size_t close = text.find(kReferenceClose, 1);
        if (close == std::string_view::npos) break;
        if (const auto name = GenreName(LeadingDigitsValue(text.substr(1, close - 1)))) return *name;
        text.remove_prefix(close + 1);
    }
    return text;
}

std::string_view TextUpToZero(std::string_view bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

int32_t LeadingDigitsValue(std::string_view text)
{
    constexpr int32_t kMaximum = std::numeric_limits<int32_t>::max();
    int32_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) break;
        const int32_t digit = c - '0';
        if (value > (kMaximum - digit) / 10) return kMaximum;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace engine
