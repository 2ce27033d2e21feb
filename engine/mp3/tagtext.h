#pragma once

#include <cstdint>
#include <string_view>

// Text operations on tag fields. Tag texts are raw 8-bit bytes in the system code page; none of
// these convert characters. Results are views into the argument or into the genre table.
namespace engine {

// The text without its leading and trailing spaces (0x20 only). A text that is empty or made only
// of spaces comes back unchanged, so that it still reads as blank.
std::string_view TrimTagText(std::string_view text);

// Resolves a genre text that begins with a parenthesised number, as ID3v2 writers store a
// reference to the ID3v1 genre list: "(17)" and "(17)Rock" give "Rock", a number without a name
// is dropped with its parentheses ("(999)Trance" gives "Trance"), and the content of the
// parentheses counts by its leading digits only, so "(RX)" reads as 0 and gives "Blues".
// A text that does not begin with "(" comes back unchanged.
std::string_view ResolveGenreReference(std::string_view text);

// The bytes before the first zero byte: what a C copy of a tag field keeps.
std::string_view TextUpToZero(std::string_view bytes);

// The value of the decimal digits at the start of the text; 0 when it does not start with a
// digit. Saturates at INT32_MAX, so an overlong number from a tag cannot overflow.
int32_t LeadingDigitsValue(std::string_view text);

}  // namespace engine
