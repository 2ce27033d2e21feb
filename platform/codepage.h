#pragma once

#include "platform/export.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The system code page: the 8-bit encoding of every name and text inside the system.
// Windows-1252 unless KOVAHDD_CODEPAGE names another (932 and other double-byte pages work too).
namespace platform {

class SingleByteTable;

class KOVAPLATFORM_API CodePage {
public:
    // Throws std::invalid_argument when iconv does not know the page ("CP" followed by the number).
    explicit CodePage(int number);

    // The page in force for the whole process. References stay valid after SetSystem.
    static const CodePage& System();
    // For tests and for the command line's --codepage; throws std::invalid_argument for an unknown page.
    static void SetSystem(int number);

    int number() const { return number_; }

    // Conversions with the file system's UTF-8; a character this page lacks becomes '?' (and sets
    // *replaced when given).
    std::string ToUtf8(std::string_view text) const;
    std::string FromUtf8(std::string_view utf8, bool* replaced = nullptr) const;
    std::string FromUtf16(std::u16string_view wide) const;
    // Empty optional when the text is not valid in this page.
    std::optional<std::u16string> ToUtf16(std::string_view text) const;

    // In a double-byte page, a byte that starts a two-byte character.
    bool IsLeadByte(unsigned char byte) const { return leadBytes_[byte]; }
    // False for a single-byte page, where every byte is a character of its own.
    bool HasLeadBytes() const { return hasLeadBytes_; }
    // Bytes of the character that starts at offset: 2 for a lead byte with a byte after it, else 1.
    std::size_t CharacterSize(std::string_view text, std::size_t offset) const
    {
        return IsLeadByte(static_cast<unsigned char>(text[offset])) && offset + 1 < text.size() ? 2 : 1;
    }

private:
    int number_;
    std::string iconvName_;
    std::array<bool, 256> leadBytes_{};
    bool hasLeadBytes_ = false;
    bool asciiCompatible_ = false;  // bytes below 0x80 are ASCII, so pure ASCII text needs no conversion
    std::shared_ptr<const SingleByteTable> table_;  // a single-byte page's characters
};

// Windows' case-insensitive comparison for names and tags: A-Z fold to a-z, every other byte
// compares as its unsigned value, double-byte characters of the system page are units. <0, 0, >0.
KOVAPLATFORM_API int CompareNoCase(std::string_view a, std::string_view b);
// The same for zero-terminated texts, reading no further than the first difference: sorting
// thousands of tags compares mostly texts that differ early.
KOVAPLATFORM_API int CompareTextsNoCase(const char* a, const char* b);
KOVAPLATFORM_API bool EqualsNoCase(std::string_view a, std::string_view b);
// Lower-cases A-Z, leaving the trail bytes of double-byte characters alone.
KOVAPLATFORM_API std::string ToLowerNoCase(std::string_view text);
// The same in place, for texts kept in storage of their own.
KOVAPLATFORM_API void LowerNoCaseInPlace(std::span<char> text);

}  // namespace platform
