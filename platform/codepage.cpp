#include "platform/codepage.h"

#include "platform/singlebytetable.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace platform {

namespace {

constexpr int kDefaultPage = 1252;
constexpr char kCodePageVariable[] = "KOVAHDD_CODEPAGE";
constexpr char kUtf8[] = "UTF-8";
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char kReplacement = '?';
constexpr unsigned char kFirstHighByte = 0x80;

// One iconv conversion state; iconv descriptors must not be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from))
    {
        if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::invalid_argument(std::string("no conversion from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(descriptor_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of input. At a sequence that cannot be converted, skipInvalid(rest) says how many
    // input bytes to drop in favour of one replacement; an empty optional makes the conversion fail.
    template <typename Skip>
    std::optional<std::string> Run(std::string_view input, std::string_view replacement, Skip skipInvalid)
    {
        std::string output(input.size() * 4 + 16, '\0');
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t used = 0;
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char* out = output.data() + used;
            std::size_t outLeft = output.size() - used;
            const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
            used = output.size() - outLeft;
            if (result != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                output.resize(output.size() * 2);
                continue;
            }
            const std::optional<std::size_t> skip = skipInvalid(std::string_view(in, inLeft));
            if (!skip) return std::nullopt;
            in += *skip;
            inLeft -= *skip;
            output.replace(used, replacement.size(), replacement);
            used += replacement.size();
            if (output.size() - used < 16) output.resize(output.size() * 2);
        }
        // A page may hold a letter back to join it with an accent that could follow (1255 and 1258
        // do): the end of the text lets it go.
        for (;;) {
            char* out = output.data() + used;
            std::size_t outLeft = output.size() - used;
            const std::size_t result = iconv(descriptor_, nullptr, nullptr, &out, &outLeft);
            used = output.size() - outLeft;
            if (result != static_cast<std::size_t>(-1) || errno != E2BIG) break;
            output.resize(output.size() * 2);
        }
        output.resize(used);
        return output;
    }

private:
    iconv_t descriptor_;
};

// The calling thread's converter between two encodings, opened on first use and kept for the thread.
Converter& ConverterFor(const std::string& to, const std::string& from)
{
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> converters;
    std::unique_ptr<Converter>& converter = converters[{to, from}];
    if (!converter) converter = std::make_unique<Converter>(to.c_str(), from.c_str());
    return *converter;
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string IconvName(int number)
{
    return "CP" + std::to_string(number);
}

// Length of the UTF-8 sequence that starts the text, counting only well-formed continuation bytes.
std::size_t Utf8SequenceLength(std::string_view text)
{
    const auto first = static_cast<unsigned char>(text[0]);
    std::size_t expected = 1;
    if (first >= 0xF0 && first <= 0xF7) expected = 4;
    else if (first >= 0xE0) expected = 3;
    else if (first >= 0xC0) expected = 2;
    std::size_t length = 1;
    while (length < expected && length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

// Code pages are created once and never destroyed, so System() can hand out plain references.
class PageRegistry {
public:
    static PageRegistry& Instance()
    {
        static PageRegistry registry;
        return registry;
    }

    const CodePage& Get(int number)
    {
        std::lock_guard lock(mutex_);
        auto found = pages_.find(number);
        if (found == pages_.end()) found = pages_.emplace(number, std::make_unique<CodePage>(number)).first;
        return *found->second;
    }

    const CodePage& Current()
    {
        if (const CodePage* page = current_.load(std::memory_order_acquire)) return *page;
        const CodePage* initial = &FromEnvironment();
        const CodePage* expected = nullptr;
        current_.compare_exchange_strong(expected, initial, std::memory_order_acq_rel);
        return *current_.load(std::memory_order_acquire);
    }

    void SetCurrent(int number) { current_.store(&Get(number), std::memory_order_release); }

private:
    // An unset, malformed or unknown KOVAHDD_CODEPAGE leaves the default page in force.
    const CodePage& FromEnvironment()
    {
        const char* value = std::getenv(kCodePageVariable);
        if (value && *value) {
            char* end = nullptr;
            const long number = std::strtol(value, &end, 10);
            if (*end == '\0' && number > 0 && number < 100000) {
                try {
                    return Get(static_cast<int>(number));
                } catch (const std::invalid_argument&) {
                }
            }
        }
        return Get(kDefaultPage);
    }

    std::mutex mutex_;
    std::map<int, std::unique_ptr<CodePage>> pages_;
    std::atomic<const CodePage*> current_{nullptr};
};

// Each byte's character as the page's converter gives it, for a page without lead bytes; nothing
// for a page whose converter does not give one character or none for every byte on its own. A
// page that joins a letter with an accent that follows gets its table too: the two stay two
// characters, as they are two bytes, so that a name goes to and from the page unchanged.
std::optional<std::array<char32_t, 256>> SingleByteCharacters(const std::string& iconvName)
{
    Converter toUtf16(kUtf16, iconvName.c_str());
    std::array<char32_t, 256> characters{};
    for (std::size_t byte = 0; byte < characters.size(); ++byte) {
        const char single = static_cast<char>(byte);
        const std::optional<std::string> unit = toUtf16.Run(std::string_view(&single, 1), "",
                                                            [](std::string_view) -> std::optional<std::size_t> {
                                                                return std::nullopt;
                                                            });
        char16_t character = 0;
        if (unit && unit->size() != sizeof character) return std::nullopt;
        if (unit) std::memcpy(&character, unit->data(), sizeof character);
        const bool isCharacter = unit && (character < 0xD800 || character > 0xDFFF);
        characters[byte] = isCharacter ? char32_t{character} : SingleByteTable::kUndefined;
    }
    return characters;
}

unsigned char FoldByte(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

CodePage::CodePage(int number) : number_(number), iconvName_(IconvName(number))
{
    // A lead byte is one that iconv reads as the incomplete start of a longer character.
    Converter probe(kUtf16, iconvName_.c_str());
    for (unsigned int byte = kFirstHighByte; byte < leadBytes_.size(); ++byte) {
        const char single = static_cast<char>(byte);
        bool incomplete = false;
        probe.Run(std::string_view(&single, 1), "", [&](std::string_view) -> std::optional<std::size_t> {
            incomplete = errno == EINVAL;
            return std::nullopt;
        });
        leadBytes_[byte] = incomplete;
        hasLeadBytes_ = hasLeadBytes_ || incomplete;
    }
    std::string ascii(kFirstHighByte, '\0');
    for (std::size_t byte = 0; byte < ascii.size(); ++byte) ascii[byte] = static_cast<char>(byte);
    Converter toUtf8(kUtf8, iconvName_.c_str());
    asciiCompatible_ = toUtf8.Run(ascii, "", [](std::string_view) -> std::optional<std::size_t> {
        return std::nullopt;
    }) == ascii;
    if (hasLeadBytes_) return;
    if (const std::optional<std::array<char32_t, 256>> characters = SingleByteCharacters(iconvName_)) {
        table_ = std::make_shared<const SingleByteTable>(*characters);
    }
}

const CodePage& CodePage::System()
{
    return PageRegistry::Instance().Current();
}

void CodePage::SetSystem(int number)
{
    PageRegistry::Instance().SetCurrent(number);
}

std::string CodePage::ToUtf8(std::string_view text) const
{
    if (asciiCompatible_ && IsAscii(text)) return std::string(text);
    if (table_) return table_->ToUtf8(text, kReplacement);
    Converter& converter = ConverterFor(kUtf8, iconvName_);
    // A byte the page does not define (or a lead byte without a valid trail) becomes one '?'.
    return *converter.Run(text, std::string_view(&kReplacement, 1),
                          [](std::string_view) -> std::optional<std::size_t> { return 1; });
}

std::string CodePage::FromUtf8(std::string_view utf8, bool* replaced) const
{
    if (replaced) *replaced = false;
    if (asciiCompatible_ && IsAscii(utf8)) return std::string(utf8);
    if (table_) {
        if (std::optional<std::string> text = table_->FromUtf8(utf8)) return std::move(*text);
    }
    Converter& converter = ConverterFor(iconvName_, kUtf8);
    return *converter.Run(utf8, std::string_view(&kReplacement, 1),
                          [replaced](std::string_view rest) -> std::optional<std::size_t> {
                              if (replaced) *replaced = true;
                              return Utf8SequenceLength(rest);
                          });
}

std::string CodePage::FromUtf16(std::u16string_view wide) const
{
    Converter& converter = ConverterFor(iconvName_, kUtf16);
    const std::string_view bytes(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(char16_t));
    return *converter.Run(bytes, std::string_view(&kReplacement, 1),
                          [](std::string_view rest) -> std::optional<std::size_t> {
                              // A lone unit, or a surrogate pair, stands for one character.
                              if (rest.size() < 2 * sizeof(char16_t)) return rest.size();
                              char16_t unit = 0;
                              std::memcpy(&unit, rest.data(), sizeof unit);
                              const bool highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
                              return highSurrogate ? 2 * sizeof(char16_t) : sizeof(char16_t);
                          });
}

std::optional<std::u16string> CodePage::ToUtf16(std::string_view text) const
{
    Converter& converter = ConverterFor(kUtf16, iconvName_);
    const std::optional<std::string> bytes =
        converter.Run(text, "", [](std::string_view) -> std::optional<std::size_t> { return std::nullopt; });
    if (!bytes) return std::nullopt;
    std::u16string wide(bytes->size() / sizeof(char16_t), u'\0');
    std::memcpy(wide.data(), bytes->data(), wide.size() * sizeof(char16_t));
    return wide;
}

int CompareNoCase(std::string_view a, std::string_view b)
{
    const CodePage& page = CodePage::System();
    bool trailA = false;
    bool trailB = false;
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto byteA = static_cast<unsigned char>(a[i]);
        const auto byteB = static_cast<unsigned char>(b[i]);
        const unsigned char foldedA = trailA ? byteA : FoldByte(byteA);
        const unsigned char foldedB = trailB ? byteB : FoldByte(byteB);
        if (foldedA != foldedB) return foldedA < foldedB ? -1 : 1;
        trailA = !trailA && page.IsLeadByte(byteA);
        trailB = !trailB && page.IsLeadByte(byteB);
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int CompareTextsNoCase(const char* a, const char* b)
{
    const CodePage& page = CodePage::System();
    bool trail = false;  // both texts are equal so far, so a trail byte stands at the same place in both
    for (;; ++a, ++b) {
        const auto byteA = static_cast<unsigned char>(*a);
        const auto byteB = static_cast<unsigned char>(*b);
        const unsigned char foldedA = trail ? byteA : FoldByte(byteA);
        const unsigned char foldedB = trail ? byteB : FoldByte(byteB);
        if (foldedA != foldedB) return foldedA < foldedB ? -1 : 1;
        if (byteA == 0) return 0;
        trail = !trail && page.HasLeadBytes() && page.IsLeadByte(byteA);
    }
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::string ToLowerNoCase(std::string_view text)
{
    std::string lower(text);
    LowerNoCaseInPlace(lower);
    return lower;
}

void LowerNoCaseInPlace(std::span<char> text)
{
    const CodePage& page = CodePage::System();
    // Without double-byte characters every byte is a character: one pass the compiler can widen.
    if (!page.HasLeadBytes()) {
        for (char& byte : text) byte = static_cast<char>(FoldByte(static_cast<unsigned char>(byte)));
        return;
    }
    const std::string_view bytes(text.data(), text.size());
    for (std::size_t i = 0; i < text.size(); i += page.CharacterSize(bytes, i)) {
        text[i] = static_cast<char>(FoldByte(static_cast<unsigned char>(text[i])));
    }
}

}  // namespace platform
