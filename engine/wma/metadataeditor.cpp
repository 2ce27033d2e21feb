#include "engine/wma/metadataeditor.h"

#include "engine/wma/asfheader.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <asffile.h>
#include <asftag.h>
#include <tbytevectorstream.h>

#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

namespace {

constexpr std::u16string_view kContentTitle = u"Title";
constexpr std::u16string_view kContentAuthor = u"Author";

struct AttributeValue {
    AttributeDataType type = AttributeDataType::Binary;
    std::vector<uint8_t> bytes;
};

void AppendLittleEndian(std::vector<uint8_t>& bytes, uint64_t value, int width)
{
    for (int index = 0; index < width; ++index) bytes.push_back(static_cast<uint8_t>(value >> (8 * index)));
}

TagLib::String ToTagLibString(std::u16string_view text)
{
    TagLib::ByteVector bytes;
    for (const char16_t unit : text) {
        bytes.append(static_cast<char>(unit & 0xFF));
        bytes.append(static_cast<char>(unit >> 8));
    }
    return TagLib::String(bytes, TagLib::String::UTF16LE);
}

AttributeValue StringValue(const TagLib::String& text)
{
    const TagLib::ByteVector units = text.data(TagLib::String::UTF16LE);
    AttributeValue value{AttributeDataType::String, {units.begin(), units.end()}};
    AppendLittleEndian(value.bytes, 0, 2);
    return value;
}

AttributeValue ByteValue(AttributeDataType type, const TagLib::ByteVector& data)
{
    return {type, {data.begin(), data.end()}};
}

AttributeValue NumberValue(AttributeDataType type, uint64_t number, int width)
{
    AttributeValue value{type, {}};
    AppendLittleEndian(value.bytes, number, width);
    return value;
}

// TagLib keeps the type codes of the ASF file itself, which differ from the SDK's.
AttributeValue ValueOf(const TagLib::ASF::Attribute& attribute)
{
    switch (attribute.type()) {
    case TagLib::ASF::Attribute::UnicodeType:
        return StringValue(attribute.toString());
    case TagLib::ASF::Attribute::BoolType:
        return NumberValue(AttributeDataType::Bool, attribute.toBool(), 4);
    case TagLib::ASF::Attribute::DWordType:
        return NumberValue(AttributeDataType::Dword, attribute.toUInt(), 4);
    case TagLib::ASF::Attribute::QWordType:
        return NumberValue(AttributeDataType::Qword, attribute.toULongLong(), 8);
    case TagLib::ASF::Attribute::WordType:
        return NumberValue(AttributeDataType::Word, attribute.toUShort(), 2);
    case TagLib::ASF::Attribute::GuidType:
        return ByteValue(AttributeDataType::Guid, attribute.toByteVector());
    case TagLib::ASF::Attribute::BytesType:
        break;
    }
    return ByteValue(AttributeDataType::Binary, attribute.toByteVector());
}

std::optional<AttributeValue> ContentDescriptionField(const TagLib::ASF::Tag& tag, std::u16string_view name)
{
    TagLib::String text;
    if (name == kContentTitle) text = tag.title();
    if (name == kContentAuthor) text = tag.artist();
    if (text.isEmpty()) return std::nullopt;
    return StringValue(text);
}

std::optional<AttributeValue> FindAttribute(const TagLib::ASF::Tag& tag, uint16_t streamNumber, std::u16string_view name)
{
    if (streamNumber == kFileLevelStream) {
        if (std::optional<AttributeValue> field = ContentDescriptionField(tag, name)) return field;
    }
    const TagLib::String key = ToTagLibString(name);
    if (!tag.contains(key)) return std::nullopt;
    for (const TagLib::ASF::Attribute& attribute : tag.attribute(key)) {
        if (attribute.stream() == streamNumber) return ValueOf(attribute);
    }
    return std::nullopt;
}

}  // namespace

MetadataEditor::MetadataEditor() = default;

MetadataEditor::~MetadataEditor() = default;

HResult MetadataEditor::Create(std::unique_ptr<MetadataEditor>* editor)
{
    if (!editor) return kEInvalidArg;
    editor->reset(new (std::nothrow) MetadataEditor());
    return *editor ? kSOk : kEOutOfMemory;
}

HResult MetadataEditor::Open(const char16_t* widePath)
{
    if (!widePath) return kEInvalidArg;
    Close();
    const std::string path = platform::CodePage::System().FromUtf16(widePath);
    uint32_t error = platform::kErrorSuccess;
    std::optional<platform::File> file = platform::File::TryOpen(path, platform::File::Mode::Read, &error);
    if (!file) return HResultFromWin32(error != platform::kErrorSuccess ? error : platform::kErrorFileNotFound);
    return Open(*file);
}

HResult MetadataEditor::Open(platform::File& file)
{
    Close();
    try {
        const std::optional<std::string> header = ReadAsfHeaderObject(file);
        if (!header || !AsfAttributeCountsFit(*header)) return kAsfEInvalidHeader;
        auto stream = std::make_unique<TagLib::ByteVectorStream>(
            TagLib::ByteVector(header->data(), static_cast<unsigned int>(header->size())));
        auto asfFile = std::make_unique<TagLib::ASF::File>(stream.get());
        if (!asfFile->isValid() || !asfFile->tag()) return kAsfEInvalidHeader;
        stream_ = std::move(stream);
        file_ = std::move(asfFile);
    } catch (const std::bad_alloc&) {
        return kEOutOfMemory;
    }
    return kSOk;
}

HResult MetadataEditor::Close()
{
    file_.reset();
    stream_.reset();
    return kSOk;
}

HResult MetadataEditor::QueryHeaderInfo(HeaderInfo** headerInfo)
{
    if (!headerInfo) return kEInvalidArg;
    *headerInfo = file_ ? this : nullptr;
    return file_ ? kSOk : kENoInterface;
}

HResult MetadataEditor::GetAttributeByName(uint16_t streamNumber, const char16_t* name, AttributeDataType* type,
                                           uint8_t* value, uint32_t* length)
{
    if (!name || !type || !length) return kEInvalidArg;
    if (!file_) return kEUnexpected;
    const std::optional<AttributeValue> found = FindAttribute(*file_->tag(), streamNumber, name);
    if (!found) {
        *length = 0;
        return kAsfENotFound;
    }
    const auto size = static_cast<uint32_t>(found->bytes.size());
    *type = found->type;
    if (!value) {
        *length = size;
        return kSOk;
    }
    const uint32_t room = *length;
    *length = size;
    if (size > room) return kAsfEBufferTooSmall;
    if (size > 0) std::memcpy(value, found->bytes.data(), size);
    return kSOk;
}

}  // namespace engine
