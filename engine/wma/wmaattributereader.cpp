#include "engine/wma/wmaattributereader.h"

#include "engine/api/utility.h"
#include "engine/wma/metadataeditor.h"

#include "platform/codepage.h"
#include "platform/errors.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace engine {

namespace {

constexpr char16_t kAlbumTitleName[] = u"WM/AlbumTitle";
constexpr char16_t kWmTitleName[] = u"WM/Title";
constexpr char16_t kTitleName[] = u"Title";
constexpr char16_t kWmAuthorName[] = u"WM/Author";
constexpr char16_t kAuthorName[] = u"Author";
constexpr char16_t kGenreName[] = u"WM/Genre";
constexpr char16_t kTrackName[] = u"WM/Track";

constexpr std::string_view kWmaExtension = "WMA";
constexpr int32_t kMaxTrackNumber = 99;
// What MultiByteToWideChar reports for text that is not valid in the code page.
constexpr uint32_t kErrorNoUnicodeTranslation = 1113;

void ReportAttributeFailure(const char16_t* name, HResult result)
{
    std::printf("GetAttributeByName failed for Attribute name %s (hr=0x%08x).\n",
                platform::CodePage::System().FromUtf16(name).c_str(), static_cast<unsigned>(result));
}

uint32_t LittleEndian(std::span<const uint8_t> bytes)
{
    uint32_t value = 0;
    for (std::size_t index = 0; index < bytes.size(); ++index) value |= uint32_t{bytes[index]} << (8 * index);
    return value;
}

// The wide text up to its first zero unit, as "%ws" takes it; an odd last byte is no unit.
std::u16string WideTextOf(std::span<const uint8_t> value)
{
    std::u16string text;
    for (std::size_t index = 0; index + 1 < value.size(); index += 2) {
        const auto unit = static_cast<char16_t>(LittleEndian(value.subspan(index, 2)));
        if (unit == u'\0') break;
        text.push_back(unit);
    }
    return text;
}

void WriteValueText(AttributeDataType type, std::span<const uint8_t> value, char (&text)[kTextFieldSize])
{
    switch (type) {
    case AttributeDataType::Dword:
        if (value.size() >= 4) SetText(text, std::to_string(LittleEndian(value.first(4))));
        break;
    case AttributeDataType::Word:
        if (value.size() >= 2) SetText(text, std::to_string(LittleEndian(value.first(2))));
        break;
    case AttributeDataType::String:
        SetText(text, platform::CodePage::System().FromUtf16(WideTextOf(value)));
        break;
    default:
        break;
    }
}

// The leading decimal number of the text (blanks and a sign allowed, none gives 0), at most 99;
// a negative number means no track number.
int32_t TrackNumberOf(const char* text)
{
    const long long number = std::strtoll(text, nullptr, 10);
    if (number < 0) return kNoTrackNumber;
    return static_cast<int32_t>(std::min<long long>(number, kMaxTrackNumber));
}

bool HasWmaExtensionOrNone(const char* path)
{
    std::vector<char> extension(std::strlen(path) + 1, '\0');
    if (!GetFileExtension(path, extension.data())) return true;
    return platform::EqualsNoCase(extension.data(), kWmaExtension);
}

// Reads the attribute into the field; when it does not exist at all, reads the fallback instead.
void ReadWithFallback(HeaderInfo& headerInfo, const char16_t* name, const char16_t* fallback,
                      char (&field)[kTextFieldSize])
{
    bool found = false;
    if (ReadWmaAttribute(headerInfo, name, field, found) == kSOk && !found) {
        ReadWmaAttribute(headerInfo, fallback, field, found);
    }
}

void ReadAttributes(HeaderInfo& headerInfo, TrackRecord& record)
{
    bool found = false;
    ReadWmaAttribute(headerInfo, kAlbumTitleName, record.album, found);
    ReadWithFallback(headerInfo, kWmTitleName, kTitleName, record.title);
    ReadWithFallback(headerInfo, kWmAuthorName, kAuthorName, record.artist);
    ReadWmaAttribute(headerInfo, kGenreName, record.genre, found);

    char trackText[kTextFieldSize]{};
    if (ReadWmaAttribute(headerInfo, kTrackName, trackText, found) == kSOk && found) {
        record.trackNumber = TrackNumberOf(trackText);
    }
}

// Reads through an editor that opens the file as open(editor) does.
template <typename OpenFile>
int32_t ReadThroughEditor(OpenFile open, TrackRecord& record)
{
    std::unique_ptr<MetadataEditor> editor;
    if (Failed(MetadataEditor::Create(&editor))) return kWmaNoEditor;
    if (Failed(open(*editor))) return kWmaCannotOpen;
    HeaderInfo* headerInfo = nullptr;
    if (Failed(editor->QueryHeaderInfo(&headerInfo))) return kWmaNoHeaderInfo;
    ReadAttributes(*headerInfo, record);
    editor->Close();
    return kWmaRead;
}

}  // namespace

HResult ReadWmaAttribute(HeaderInfo& headerInfo, const char16_t* name, char (&text)[kTextFieldSize], bool& found)
{
    found = false;
    AttributeDataType type = AttributeDataType::Binary;
    uint32_t length = 0;
    HResult result = headerInfo.GetAttributeByName(kFileLevelStream, name, &type, nullptr, &length);
    if (Failed(result) && result != kAsfENotFound) {
        ReportAttributeFailure(name, result);
        return result;
    }
    if (result == kAsfENotFound && length == 0) return kSOk;

    // The editor is told the buffer's real size, so a longer value is refused rather than written past it.
    std::array<uint8_t, kAttributeValueBufferSize> value{};
    uint32_t valueLength = std::min<uint32_t>(length, value.size());
    result = headerInfo.GetAttributeByName(kFileLevelStream, name, &type, value.data(), &valueLength);
    if (Failed(result)) {
        ReportAttributeFailure(name, result);
        return result;
    }
    WriteValueText(type, std::span<const uint8_t>(value).first(std::min<std::size_t>(valueLength, value.size())), text);
    found = true;
    return result;
}

int32_t ReadWmaAttributes(const char* path, TrackRecord* record)
{
    if (!path || !record) return kWmaPathNotConverted;
    if (!HasWmaExtensionOrNone(path)) return kWmaNotWmaPath;
    const std::optional<std::u16string> widePath = platform::CodePage::System().ToUtf16(path);
    if (!widePath) {
        std::printf("Internal error (hr=0x%08x)\n", static_cast<unsigned>(HResultFromWin32(kErrorNoUnicodeTranslation)));
        return kWmaPathNotConverted;
    }
    try {
        return ReadThroughEditor([&](MetadataEditor& editor) { return editor.Open(widePath->c_str()); }, *record);
    } catch (const platform::FileError&) {
        return kWmaFileSystemError;
    }
}

int32_t ReadWmaAttributes(platform::File& file, TrackRecord& record)
{
    try {
        return ReadThroughEditor([&](MetadataEditor& editor) { return editor.Open(file); }, record);
    } catch (const platform::FileError&) {
        return kWmaFileSystemError;
    }
}

}  // namespace engine
