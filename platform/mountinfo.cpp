#include "platform/mountinfo.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>

namespace platform {

namespace {

constexpr char kMountInfoVariable[] = "KOVAHDD_MOUNTINFO";
constexpr char kDefaultMountInfo[] = "/proc/self/mountinfo";
constexpr std::string_view kOptionalFieldsEnd = "-";

// Fields of a mountinfo line before the optional fields, and after the "-" that ends them.
constexpr std::size_t kDeviceNumberField = 2;
constexpr std::size_t kRootField = 3;
constexpr std::size_t kMountPointField = 4;
constexpr std::size_t kFirstOptionalField = 6;
constexpr std::size_t kSourceAfterEnd = 2;

bool IsOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// mountinfo writes space, tab, newline and backslash in names as "\ooo" octal escapes.
std::string DecodeOctalEscapes(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '\\' && i + 3 < text.size() && IsOctalDigit(text[i + 1]) &&
                            IsOctalDigit(text[i + 2]) && IsOctalDigit(text[i + 3]);
        if (!escape) {
            decoded += text[i];
            continue;
        }
        const int value = (text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0');
        decoded += static_cast<char>(value & 0xFF);
        i += 3;
    }
    return decoded;
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    while (!line.empty()) {
        const std::size_t end = line.find(' ');
        if (end != 0) fields.push_back(line.substr(0, end));
        if (end == std::string_view::npos) break;
        line.remove_prefix(end + 1);
    }
    return fields;
}

std::optional<Mount> ParseMountLine(std::string_view line)
{
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() < kFirstOptionalField) return std::nullopt;
    const auto end = std::find(fields.begin() + kFirstOptionalField, fields.end(), kOptionalFieldsEnd);
    if (fields.end() - end <= static_cast<std::ptrdiff_t>(kSourceAfterEnd)) return std::nullopt;
    return Mount{std::string(fields[kDeviceNumberField]), DecodeOctalEscapes(fields[kRootField]),
                 DecodeOctalEscapes(fields[kMountPointField]), DecodeOctalEscapes(*(end + kSourceAfterEnd))};
}

}  // namespace

std::string MountInfoPathFromEnvironment()
{
    const char* mountInfo = std::getenv(kMountInfoVariable);
    return mountInfo && *mountInfo ? mountInfo : kDefaultMountInfo;
}

std::vector<Mount> ReadMounts(const std::string& mountInfoPath)
{
    std::vector<Mount> mounts;
    std::ifstream in(mountInfoPath);
    for (std::string line; std::getline(in, line);) {
        if (std::optional<Mount> mount = ParseMountLine(line)) mounts.push_back(std::move(*mount));
    }
    return mounts;
}

}  // namespace platform
