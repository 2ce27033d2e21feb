#include "platform/registryfile.h"

#include "platform/codepage.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace platform {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kUnicodeExportHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kBinaryPrefix = "hex:";
constexpr std::string_view kTypedHexPrefix = "hex(";
constexpr char kDefaultValueName = '@';
constexpr char kCommentStart = ';';
constexpr char kContinuation = '\\';
constexpr std::size_t kDwordSize = 4;
constexpr std::size_t kMaxDwordDigits = 8;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits and nothing else.
std::optional<uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    uint32_t number = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        number = number << 4 | static_cast<uint32_t>(digit);
    }
    return number;
}

// The lines of the text, without their line ends.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

void AppendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

// A REG_SZ that the quoted form gives back exactly: its text, then one NUL.
bool IsPlainText(const RegistryValue& value)
{
    if (value.type != kRegSz || value.data.empty() || value.data.back() != '\0') return false;
    const std::string_view text(value.data.data(), value.data.size() - 1);
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

void AppendValue(std::string& out, const RegistryValue& value)
{
    if (value.name.empty()) {
        out += kDefaultValueName;
    } else {
        AppendQuoted(out, value.name);
    }
    out += '=';
    char number[16];
    if (IsPlainText(value)) {
        AppendQuoted(out, std::string_view(value.data.data(), value.data.size() - 1));
    } else if (value.type == kRegDword && value.data.size() == kDwordSize) {
        uint32_t dword = 0;
        for (std::size_t i = 0; i < kDwordSize; ++i) dword |= uint32_t(static_cast<unsigned char>(value.data[i])) << (8 * i);
        std::snprintf(number, sizeof number, "%08x", dword);
        out += kDwordPrefix;
        out += number;
    } else {
        if (value.type == kRegBinary) {
            out += kBinaryPrefix;
        } else {
            std::snprintf(number, sizeof number, "%x", value.type);
            out += kTypedHexPrefix;
            out += number;
            out += "):";
        }
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            std::snprintf(number, sizeof number, i == 0 ? "%02x" : ",%02x", static_cast<unsigned char>(value.data[i]));
            out += number;
        }
    }
    out += '\n';
}

void AppendKey(std::string& out, const RegistryNode& key, const std::string& path)
{
    out += '\n';
    out += '[' + path + "]\n";
    for (const RegistryValue& value : key.values()) AppendValue(out, value);
    for (std::size_t i = 0; i < key.SubkeyCount(); ++i) {
        const RegistryNode& subkey = key.SubkeyAt(i);
        AppendKey(out, subkey, path + '\\' + subkey.name());
    }
}

// Reads the lines one after another into the tree; the first fault ends the reading.
class Parser {
public:
    explicit Parser(std::string_view text) : lines_(SplitLines(text)) {}

    std::optional<RegistryNode> Run(RegistryFileError& error)
    {
        if (!ReadHeader()) return Fail(error, next_, "not a registry file");
        for (; next_ < lines_.size(); ++next_) {
            const std::size_t start = next_;  // a value may go on in the lines after it
            const std::string_view line = lines_[next_];
            const std::string_view content = TrimBlanks(line);
            if (content.empty() || content.front() == kCommentStart) continue;
            const char* fault = content.front() == '[' ? ReadKeyLine(content) : ReadValueLine(line);
            if (fault) return Fail(error, start, fault);
        }
        return std::move(top_);
    }

private:
    static std::optional<RegistryNode> Fail(RegistryFileError& error, std::size_t lineIndex, const char* reason)
    {
        error.line = lineIndex + 1;
        error.reason = reason;
        return std::nullopt;
    }

    bool ReadHeader()
    {
        while (next_ < lines_.size() && TrimBlanks(lines_[next_]).empty()) ++next_;
        if (next_ == lines_.size()) return false;
        const std::string_view header = TrimBlanks(lines_[next_]);
        if (header != kHeader && header != kUnicodeExportHeader) return false;
        ++next_;
        return true;
    }

    const char* ReadKeyLine(std::string_view line)
    {
        if (line.back() != ']') return "a key line without its closing bracket";
        const std::string_view path = line.substr(1, line.size() - 2);
        if (!path.empty() && path.front() == '-') return "a key deletion, which only an import knows";
        const std::vector<std::string_view> names = SplitKeyPath(path);
        if (names.size() > kMaxKeyDepth) return "keys nested deeper than the registry allows";
        RegistryNode* key = &top_;
        for (std::string_view name : names) {
            if (!IsValidKeyName(name)) return "an empty, too long or unprintable key name";
            key = &key->AddSubkey(name);
        }
        key_ = key;
        return nullptr;
    }

    const char* ReadValueLine(std::string_view line)
    {
        if (!key_) return "a value before the first key";
        std::string_view rest = TrimBlanks(line);
        std::string name;
        if (rest.front() == kDefaultValueName) {
            rest.remove_prefix(1);
        } else if (!ReadQuoted(rest, name) || !IsValidValueName(name)) {
            return "a value name that is not a quoted text or @";
        }
        rest = TrimBlanks(rest);
        if (rest.empty() || rest.front() != '=') return "a value without '='";
        rest = TrimBlanks(rest.substr(1));

        std::string data;
        uint32_t type = kRegSz;
        if (!rest.empty() && rest.front() == '"') {
            if (!ReadQuoted(rest, data) || !TrimBlanks(rest).empty()) return "a text value that is not one quoted text";
            data += '\0';
        } else if (rest.starts_with(kDwordPrefix)) {
            const std::optional<uint32_t> dword = ParseHexNumber(TrimBlanks(rest.substr(kDwordPrefix.size())), kMaxDwordDigits);
            if (!dword) return "a dword value that is not 1 to 8 hex digits";
            type = kRegDword;
            for (std::size_t i = 0; i < kDwordSize; ++i) data += static_cast<char>(*dword >> (8 * i));
        } else if (!ReadHexValue(rest, type, data)) {
            return "a value that is neither a quoted text, dword: nor hex:";
        }
        key_->SetValue(name, type, std::move(data));
        return nullptr;
    }

    // A quoted text at the start of text, its escapes undone; text is left after the closing quote.
    static bool ReadQuoted(std::string_view& text, std::string& out)
    {
        if (text.empty() || text.front() != '"') return false;
        for (std::size_t i = 1; i < text.size(); ++i) {
            char c = text[i];
            if (c == '"') {
                text.remove_prefix(i + 1);
                return true;
            }
            if (c == '\\') {
                if (++i == text.size() || (text[i] != '\\' && text[i] != '"')) return false;
                c = text[i];
            }
            out += c;
        }
        return false;
    }

    // hex:bytes or hex(type):bytes, the list going on in the next line after a trailing '\'.
    bool ReadHexValue(std::string_view text, uint32_t& type, std::string& data)
    {
        if (text.starts_with(kBinaryPrefix)) {
            type = kRegBinary;
            text.remove_prefix(kBinaryPrefix.size());
        } else if (text.starts_with(kTypedHexPrefix)) {
            text.remove_prefix(kTypedHexPrefix.size());
            const std::size_t close = text.find("):");
            if (close == std::string_view::npos) return false;
            const std::optional<uint32_t> number = ParseHexNumber(text.substr(0, close), kMaxDwordDigits);
            if (!number) return false;
            type = *number;
            text.remove_prefix(close + 2);
        } else {
            return false;
        }
        std::string list(TrimBlanks(text));
        while (!list.empty() && list.back() == kContinuation) {
            list.pop_back();
            if (++next_ == lines_.size()) return false;
            list += TrimBlanks(lines_[next_]);
        }
        return ReadHexBytes(list, data);
    }

    static bool ReadHexBytes(std::string_view list, std::string& data)
    {
        if (TrimBlanks(list).empty()) return true;
        for (;;) {
            const std::size_t comma = list.find(',');
            const std::optional<uint32_t> byte = ParseHexNumber(TrimBlanks(list.substr(0, comma)), 2);
            if (!byte) return false;
            data += static_cast<char>(*byte);
            if (comma == std::string_view::npos) return true;
            list.remove_prefix(comma + 1);
        }
    }

    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
    RegistryNode top_;
    RegistryNode* key_ = nullptr;
};

}  // namespace

std::optional<RegistryNode> ParseRegistryFile(std::string_view text, RegistryFileError& error)
{
    return Parser(text).Run(error);
}

std::string FormatRegistryFile(const RegistryNode& top)
{
    std::string out(kHeader);
    out += '\n';
    for (std::size_t i = 0; i < top.SubkeyCount(); ++i) AppendKey(out, top.SubkeyAt(i), top.SubkeyAt(i).name());
    return out;
}

}  // namespace platform
