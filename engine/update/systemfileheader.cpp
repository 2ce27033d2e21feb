#include "engine/update/systemfileheader.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace engine {

namespace {

// The text of a zero-padded field: up to its first zero byte, or the whole width.
std::string FieldText(std::span<const uint8_t> bytes, std::size_t offset, std::size_t width)
{
    const auto* start = reinterpret_cast<const char*>(bytes.data() + offset);
    return std::string(start, strnlen(start, width));
}

}  // namespace

float VersionOf(std::string_view versionText)
{
    if (versionText.empty() || (versionText.front() != 'v' && versionText.front() != 'V')) return SystemFileHeader::kNoVersion;
    std::string_view number = versionText.substr(1);
    while (!number.empty() && (number.front() == ' ' || number.front() == '\t')) number.remove_prefix(1);
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    float version = 0.0f;
    const std::from_chars_result parsed = std::from_chars(number.data(), number.data() + number.size(), version);
    return parsed.ec == std::errc() ? version : 0.0f;
}

std::optional<SystemFileHeader> SystemFileHeader::Parse(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kSize) return std::nullopt;
    SystemFileHeader header;
    header.fileName = FieldText(bytes, kFileNameOffset, kFileNameWidth);
    header.version = VersionOf(FieldText(bytes, kVersionOffset, kVersionWidth));
    header.identifier = FieldText(bytes, kIdentifierOffset, kIdentifierWidth);
    return header;
}

}  // namespace engine
