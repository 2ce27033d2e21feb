#include "trayhost/syncui/rtfreader.h"

#include "platform/codepage.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace trayhost {

namespace {

// Longer names are no control word of ours, and are read on but ignored.
constexpr std::size_t kMaxControlWordLength = 32;
// A parameter is a signed 16-bit number in practice (\binN a 32-bit one); more digits are read on
// and the value kept at the bound.
constexpr int kMaxParameterDigits = 10;
constexpr int64_t kMaxParameter = INT32_MAX;
// \ucN: fallback characters after each \uN. More than a few is nonsense that would eat the text.
constexpr int kMaxFallbackCharacters = 16;
// Groups nested deeper than this share the state of the deepest one kept.
constexpr std::size_t kMaxGroupDepth = 512;

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kNonBreakingSpace = 0x00A0;
constexpr char32_t kNonBreakingHyphen = 0x2011;
constexpr char32_t kFirstHighSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastLowSurrogate = 0xDFFF;

// Destinations whose content is not text of the document: tables, document information, pictures,
// objects, page furniture, field instructions, bookmarks and the like.
constexpr std::string_view kSkippedDestinations[] = {
    "author",   "bkmkend",  "bkmkstart",  "colortbl",     "comment",           "creatim",   "datastore",
    "doccomm",  "falt",     "filetbl",    "fldinst",      "fonttbl",           "footer",    "footerf",
    "footerl",  "footerr",  "footnote",   "generator",    "header",            "headerf",   "headerl",
    "headerr",  "info",     "keywords",   "latentstyles", "listoverridetable", "listtable", "nonshppict",
    "object",   "operator", "pict",       "printim",      "private",           "revtbl",    "revtim",
    "rsidtbl",  "stylesheet", "subject",  "themedata",    "title",             "xmlnstbl",
};

struct NamedCharacter {
    std::string_view word;
    char32_t character;
};

constexpr NamedCharacter kNamedCharacters[] = {
    {"bullet", 0x2022},  {"cell", '\t'},       {"emdash", 0x2014},    {"emspace", 0x2003}, {"endash", 0x2013},
    {"enspace", 0x2002}, {"ldblquote", 0x201C}, {"line", '\n'},        {"lquote", 0x2018},  {"qmspace", 0x2005},
    {"rdblquote", 0x201D}, {"rquote", 0x2019},  {"tab", '\t'},
};

constexpr std::string_view kParagraphEnds[] = {"par", "page", "row", "sect"};
constexpr std::string_view kUnderlineStyles[] = {"ul", "uld", "uldash", "uldb", "ulth", "ulw", "ulwave"};

template <std::size_t N>
bool Contains(const std::string_view (&words)[N], std::string_view word)
{
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::optional<int> HexValue(char c)
{
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

// Text keeps tabs and line breaks; other control characters have no place in it.
bool IsShownCharacter(char32_t character)
{
    return character >= 0x20 || character == '\t' || character == '\n';
}

void AppendUtf8(std::string& text, char32_t character)
{
    if (character < 0x80) {
        text += static_cast<char>(character);
    } else if (character < 0x800) {
        text += static_cast<char>(0xC0 | (character >> 6));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        text += static_cast<char>(0xE0 | (character >> 12));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (character >> 18));
        text += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    }
}

class RtfReader {
public:
    explicit RtfReader(std::string_view bytes) : bytes_(bytes), page_(&platform::CodePage::System()) {}

    RtfDocument Read()
    {
        while (position_ < bytes_.size()) {
            const char c = bytes_[position_++];
            switch (c) {
            case '{':
                OpenGroup();
                break;
            case '}':
                CloseGroup();
                break;
            case '\\':
                ReadControl();
                break;
            default:
                // Line ends and other control bytes in the file are layout of the file, not text.
                if (static_cast<unsigned char>(c) >= 0x20) AddByte(c);
                break;
            }
        }
        EndText();
        EndLoneSurrogate();
        if (!paragraph_.runs.empty()) document_.paragraphs.push_back(std::move(paragraph_));
        return std::move(document_);
    }

private:
    struct Group {
        RtfFormat format;
        bool skipped = false;  // a destination that holds no text of the document
        int fallbackCharacters = 1;
    };

    void OpenGroup()
    {
        EndText();
        fallbackToSkip_ = 0;
        if (outer_.size() == kMaxGroupDepth) {
            ++unkeptDepth_;
            return;
        }
        outer_.push_back(group_);
    }

    void CloseGroup()
    {
        EndText();
        fallbackToSkip_ = 0;
        if (unkeptDepth_ > 0) {
            --unkeptDepth_;
        } else if (!outer_.empty()) {
            group_ = outer_.back();
            outer_.pop_back();
        }
    }

    void ReadControl()
    {
        if (position_ == bytes_.size()) return;
        const char c = bytes_[position_];
        if (IsLetter(c)) {
            ReadControlWord();
            return;
        }
        ++position_;
        switch (c) {
        case '\'':
            ReadHexByte();
            break;
        case '\\':
        case '{':
        case '}':
            AddByte(c);
            break;
        default:
            EndText();
            fallbackToSkip_ = 0;
            ApplyControlSymbol(c);
            break;
        }
    }

    void ApplyControlSymbol(char symbol)
    {
        switch (symbol) {
        case '*':
            group_.skipped = true;
            break;
        case '~':
            AddCharacter(kNonBreakingSpace);
            break;
        case '_':
            AddCharacter(kNonBreakingHyphen);
            break;
        case '\r':
        case '\n':
            EndParagraph();
            break;
        default:  // \- (optional hyphen), \| and \: (formula and index marks)
            break;
        }
    }

    void ReadHexByte()
    {
        std::optional<int> high;
        std::optional<int> low;
        if (position_ < bytes_.size()) high = HexValue(bytes_[position_]);
        if (high && position_ + 1 < bytes_.size()) low = HexValue(bytes_[position_ + 1]);
        if (!high || !low) return;  // not a character: the escape is dropped, what follows is read as usual
        position_ += 2;
        AddByte(static_cast<char>(*high * 16 + *low));
    }

    void ReadControlWord()
    {
        const std::size_t start = position_;
        while (position_ < bytes_.size() && IsLetter(bytes_[position_])) ++position_;
        const std::string_view word = bytes_.substr(start, position_ - start);
        const std::optional<int> parameter = ReadParameter();
        if (position_ < bytes_.size() && bytes_[position_] == ' ') ++position_;

        EndText();
        if (word == "bin") {
            SkipBinary(parameter.value_or(0));
            return;
        }
        if (group_.skipped || word.size() > kMaxControlWordLength) return;
        if (word == "u") {
            if (parameter) AddUnicode(*parameter);
            return;
        }
        fallbackToSkip_ = 0;
        ApplyControlWord(word, parameter);
    }

    std::optional<int> ReadParameter()
    {
        std::size_t at = position_;
        const bool negative = at < bytes_.size() && bytes_[at] == '-';
        if (negative) ++at;
        if (at == bytes_.size() || !IsDigit(bytes_[at])) return std::nullopt;
        int64_t value = 0;
        for (int digits = 0; at < bytes_.size() && IsDigit(bytes_[at]); ++at, ++digits) {
            if (digits < kMaxParameterDigits) value = std::min(value * 10 + (bytes_[at] - '0'), kMaxParameter);
        }
        position_ = at;
        return static_cast<int>(negative ? -value : value);
    }

    void ApplyControlWord(std::string_view word, std::optional<int> parameter)
    {
        const bool on = parameter.value_or(1) != 0;
        if (Contains(kSkippedDestinations, word)) {
            group_.skipped = true;
        } else if (Contains(kParagraphEnds, word)) {
            EndParagraph();
        } else if (word == "b") {
            group_.format.bold = on;
        } else if (word == "i") {
            group_.format.italic = on;
        } else if (Contains(kUnderlineStyles, word)) {
            group_.format.underline = on;
        } else if (word == "ulnone") {
            group_.format.underline = false;
        } else if (word == "fs") {
            group_.format.halfPoints = parameter && *parameter > 0
                                           ? std::clamp(*parameter, kRtfMinHalfPoints, kRtfMaxHalfPoints)
                                           : kRtfDefaultHalfPoints;
        } else if (word == "plain") {
            group_.format = RtfFormat{};
        } else if (word == "uc") {
            if (parameter) group_.fallbackCharacters = std::clamp(*parameter, 0, kMaxFallbackCharacters);
        } else if (word == "ansicpg") {
            if (parameter) UseCodePage(*parameter);
        } else {
            for (const NamedCharacter& named : kNamedCharacters) {
                if (named.word == word) AddCharacter(named.character);
            }
        }
    }

    // The document's code page, named once in its header. One the system does not know leaves the
    // system's own in force.
    void UseCodePage(int number)
    {
        if (documentPage_ || number <= 0 || number == page_->number()) return;
        try {
            documentPage_.emplace(number);
            page_ = &*documentPage_;
        } catch (const std::invalid_argument&) {
        }
    }

    void SkipBinary(int count)
    {
        const std::size_t rest = bytes_.size() - position_;
        position_ += std::min(static_cast<std::size_t>(std::max(count, 0)), rest);
    }

    // \uN: a UTF-16 unit, negative above 32767; a surrogate pair takes two. Then the fallback
    // characters written for readers without Unicode are skipped.
    void AddUnicode(int parameter)
    {
        const auto unit = static_cast<char32_t>(parameter < 0 ? parameter + 0x10000 : parameter);
        const bool valid = parameter >= -0x8000 && parameter <= 0xFFFF;
        const bool high = valid && unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate;
        const bool low = valid && unit >= kFirstLowSurrogate && unit <= kLastLowSurrogate;
        if (highSurrogate_ && low) {
            const char32_t character =
                0x10000 + ((highSurrogate_ - kFirstHighSurrogate) << 10) + (unit - kFirstLowSurrogate);
            highSurrogate_ = 0;
            AppendCharacter(character);
        } else {
            EndLoneSurrogate();
            if (high) {
                highSurrogate_ = unit;
            } else {
                AppendCharacter(valid && !low ? unit : kReplacementCharacter);
            }
        }
        fallbackToSkip_ = group_.fallbackCharacters;
    }

    // A byte of text in the document's code page; bytes are converted together, so that the two
    // bytes of a double-byte character meet.
    void AddByte(char byte)
    {
        if (group_.skipped) return;
        if (fallbackToSkip_ > 0) {
            --fallbackToSkip_;
            return;
        }
        if (static_cast<unsigned char>(byte) < 0x20 && byte != '\t') return;
        EndLoneSurrogate();
        pendingBytes_ += byte;
    }

    void AddCharacter(char32_t character)
    {
        if (group_.skipped) return;
        EndLoneSurrogate();
        AppendCharacter(character);
    }

    void AppendCharacter(char32_t character)
    {
        if (!IsShownCharacter(character)) return;
        std::string utf8;
        AppendUtf8(utf8, character);
        AppendText(utf8);
    }

    void EndLoneSurrogate()
    {
        if (!highSurrogate_) return;
        highSurrogate_ = 0;
        AppendCharacter(kReplacementCharacter);
    }

    // Converts the bytes gathered so far, in the format they came in.
    void EndText()
    {
        if (pendingBytes_.empty()) return;
        // A code page may map printable bytes to control characters (EBCDIC ones do); a control
        // character's byte never stands inside a longer UTF-8 sequence.
        std::string text = page_->ToUtf8(pendingBytes_);
        std::erase_if(text, [](char c) { return !IsShownCharacter(static_cast<unsigned char>(c)); });
        AppendText(text);
        pendingBytes_.clear();
    }

    void AppendText(std::string_view utf8)
    {
        if (utf8.empty()) return;
        if (paragraph_.runs.empty() || paragraph_.runs.back().format != group_.format) {
            paragraph_.runs.push_back({std::string(), group_.format});
        }
        paragraph_.runs.back().text += utf8;
    }

    void EndParagraph()
    {
        EndLoneSurrogate();
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = {};
    }

    std::string_view bytes_;
    std::size_t position_ = 0;
    const platform::CodePage* page_;
    std::optional<platform::CodePage> documentPage_;
    std::vector<Group> outer_;
    std::size_t unkeptDepth_ = 0;
    Group group_;
    std::string pendingBytes_;
    int fallbackToSkip_ = 0;
    char32_t highSurrogate_ = 0;
    RtfParagraph paragraph_;
    RtfDocument document_;
};

}  // namespace

RtfDocument ReadRtf(std::string_view bytes)
{
    return RtfReader(bytes).Read();
}

}  // namespace trayhost
