#include "trayhost/resources/caretnotation.h"

namespace trayhost {

namespace {

constexpr char kCaret = '^';
constexpr unsigned char kLastControl = 0x1F;
constexpr unsigned char kDelete = 0x7F;
// "^@" for 0x00, "^A" for 0x01 ... "^_" for 0x1F.
constexpr unsigned char kCaretOffset = 0x40;

}  // namespace

std::string CaretNotation(std::string_view text)
{
    std::string visible;
    visible.reserve(text.size());
    for (const char byte : text) {
        const auto value = static_cast<unsigned char>(byte);
        if (value <= kLastControl && byte != '\n') {
            visible += kCaret;
            visible += static_cast<char>(value + kCaretOffset);
        } else if (value == kDelete) {
            visible += kCaret;
            visible += '?';
        } else {
            visible += byte;
        }
    }
    return visible;
}

}  // namespace trayhost
