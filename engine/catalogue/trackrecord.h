#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace engine {

inline constexpr int32_t kNoTrackNumber = 9999;
inline constexpr std::size_t kTextFieldSize = 256;  // 255 text bytes and the terminating zero
inline constexpr std::size_t kFileNameSize = 260;

// Indexes into TrackRecord::navigation.
enum NavigationValue : std::size_t { kBack1, kBack2, kBack3, kNext1, kNext2, kNext3, kPrev1, kPrev2, kPrev3 };

// One audio file of the device. Texts are zero-terminated raw bytes in the system code page.
struct TrackRecord {
    int32_t entryNumber = kNoTrackNumber;  // in the playlist being written
    int32_t entryLength = 0;               // entry size - 1, in the playlist being written
    std::array<int32_t, 9> navigation{};
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
