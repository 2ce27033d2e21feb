#include "engine/wma/asfheader.h"

#include <algorithm>
#include <array>

namespace engine {

namespace {

using Guid = std::array<uint8_t, 16>;

constexpr Guid kHeaderGuid = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                              0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid kExtendedContentDescriptionGuid = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                                  0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
constexpr Guid kHeaderExtensionGuid = {0xB5, 0x03, 0xBF, 0x5F, 0x2E, 0xA9, 0xCF, 0x11,
                                       0x8E, 0xE3, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr Guid kMetadataGuid = {0xEA, 0xCB, 0xF8, 0xC5, 0xAF, 0x5B, 0x77, 0x48,
                                0x84, 0x67, 0xAA, 0x8C, 0x44, 0xFA, 0x4C, 0xCA};
constexpr Guid kMetadataLibraryGuid = {0x94, 0x1C, 0x23, 0x44, 0x98, 0x94, 0xD1, 0x49,
                                       0xA1, 0x41, 0x1D, 0x13, 0x4E, 0x45, 0x70, 0x54};

constexpr std::size_t kObjectHeaderSize = 24;      // GUID and size
constexpr std::size_t kSizeOffset = 16;
constexpr std::size_t kHeaderObjectFixedSize = 30;  // object header, object count, reserved
constexpr std::size_t kExtensionDataSizeOffset = kObjectHeaderSize + 18;
constexpr std::size_t kExtensionFixedSize = kExtensionDataSizeOffset + 4;
constexpr std::size_t kMinimumAttributeSize = 6;
constexpr std::size_t kMinimumMetadataRecordSize = 12;

uint64_t LittleEndian(std::string_view bytes, std::size_t offset, std::size_t width)
{
    uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[offset + i - 1]);
    return value;
}

bool HasGuid(std::string_view object, const Guid& guid)
{
    return object.size() >= guid.size() && std::equal(guid.begin(), guid.end(), object.begin(), [](uint8_t a, char b) {
               return a == static_cast<uint8_t>(b);
           });
}

// The count field at kObjectHeaderSize and the records after it fit in the object.
bool CountFits(std::string_view object, std::size_t minimumRecordSize)
{
    const std::size_t countEnd = kObjectHeaderSize + 2;
    if (object.size() < countEnd) return true;  // TagLib reads a count of nothing
    return LittleEndian(object, kObjectHeaderSize, 2) * minimumRecordSize <= object.size() - countEnd;
}

// Calls check on each object laid one after the other in bytes, each cut to what bytes hold.
template <typename Check>
bool EveryObject(std::string_view bytes, Check check)
{
    while (bytes.size() >= kObjectHeaderSize) {
        const uint64_t size = LittleEndian(bytes, kSizeOffset, 8);
        if (size < kObjectHeaderSize) return true;  // TagLib stops at such an object
        const std::string_view object = bytes.substr(0, static_cast<std::size_t>(std::min<uint64_t>(size, bytes.size())));
        if (!check(object)) return false;
        bytes.remove_prefix(object.size());
    }
    return true;
}

bool ExtensionCountsFit(std::string_view extension)
{
    if (extension.size() < kExtensionFixedSize) return true;
    const uint64_t dataSize = LittleEndian(extension, kExtensionDataSizeOffset, 4);
    const std::string_view data =
        extension.substr(kExtensionFixedSize, static_cast<std::size_t>(std::min<uint64_t>(dataSize, extension.size())));
    return EveryObject(data, [](std::string_view object) {
        const bool metadata = HasGuid(object, kMetadataGuid) || HasGuid(object, kMetadataLibraryGuid);
        return !metadata || CountFits(object, kMinimumMetadataRecordSize);
    });
}

}  // namespace

std::optional<std::string> ReadAsfHeaderObject(platform::File& file)
{
    std::string header(kHeaderObjectFixedSize, '\0');
    header.resize(file.Read(header.data(), header.size()));
    if (header.size() < kHeaderObjectFixedSize || !HasGuid(header, kHeaderGuid)) return std::nullopt;
    const uint64_t claimed = LittleEndian(header, kSizeOffset, 8);
    if (claimed > kMaxAsfHeaderSize) return std::nullopt;
    const auto size = static_cast<std::size_t>(std::min<uint64_t>(claimed, file.Length()));
    if (size <= header.size()) return header;
    const std::size_t already = header.size();
    header.resize(size);
    header.resize(already + file.Read(header.data() + already, size - already));
    return header;
}

bool AsfAttributeCountsFit(std::string_view header)
{
    if (header.size() < kHeaderObjectFixedSize) return true;
    return EveryObject(header.substr(kHeaderObjectFixedSize), [](std::string_view object) {
        if (HasGuid(object, kExtendedContentDescriptionGuid)) return CountFits(object, kMinimumAttributeSize);
        if (HasGuid(object, kHeaderExtensionGuid)) return ExtensionCountsFit(object);
        return true;
    });
}

}  // namespace engine
