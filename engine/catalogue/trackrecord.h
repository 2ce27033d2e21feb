#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace engine {

inline constexpr int32_t kNoTrackNumber = 9999;
inline constexpr std::size_t kTextFieldSize = 256;  // 255 text bytes and the terminating zero
inline constexpr std::size_t kFileNameSize = 260;

// One audio file of the device as the scan and the tag readers fill it, in fields of the sizes the
// player's records have. Texts are zero-terminated raw bytes in the system code page. The catalogue
// keeps each as a CatalogueTrack, whose texts take only their length.
struct TrackRecord {
    char album[kTextFieldSize]{};
    char artist[kTextFieldSize]{};
    char title[kTextFieldSize]{};
    char genre[kTextFieldSize]{};
    char reserved[kTextFieldSize]{};       // never filled
    int32_t trackNumber = kNoTrackNumber;  // 0 to 99, or kNoTrackNumber
    char path[kTextFieldSize]{};           // full path, then "..\..\" + the path below the root
    char fileName[kFileNameSize]{};
};

// The text of a field, up to its terminating zero.
template <std::size_t N>
std::string_view TextOf(const char (&field)[N])
{
    return {field, strnlen(field, N)};
}

// Stores text in a field, cut to the field's size less the terminator.
template <std::size_t N>
void SetText(char (&field)[N], std::string_view text)
{
    const std::size_t length = text.size() < N ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

}  // namespace engine
