#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace engine {

// The first 64 bytes of one of the player's system programs, which say what the file is and which
// version it carries. Texts are zero-padded to their width, and not terminated when they fill it.
//
//   offset  width  field
//        0      4  not examined
//        4     12  file name ("mp3.exe")
//       16     24  description, not examined
//       40      8  version: "v" or "V" followed by a decimal number ("V1.20")
//       48      8  identifier of the build
//       56      8  not examined
struct SystemFileHeader {
    static constexpr std::size_t kSize = 64;
    static constexpr std::size_t kFileNameOffset = 4;
    static constexpr std::size_t kFileNameWidth = 12;
    static constexpr std::size_t kVersionOffset = 40;
    static constexpr std::size_t kVersionWidth = 8;
    static constexpr std::size_t kIdentifierOffset = 48;
    static constexpr std::size_t kIdentifierWidth = 8;
    // The version of a header whose version text does not start with "v" or "V".
    static constexpr float kNoVersion = -1.0f;

    std::string fileName;
    float version = kNoVersion;
    std::string identifier;

    // Empty optional when fewer than kSize bytes are given.
    static std::optional<SystemFileHeader> Parse(std::span<const uint8_t> bytes);
};

// The number a version text gives after its leading "v" or "V": leading blanks, a sign and the
// longest decimal number that follows, 0 when there is none; kNoVersion without the "v".
// Independent of the C locale's decimal point.
float VersionOf(std::string_view versionText);

}  // namespace engine
