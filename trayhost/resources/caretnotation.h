#pragma once

#include <string>
#include <string_view>

namespace trayhost {

// The text with each control character but the line feed written in caret notation: "^@" to "^_"
// for bytes 0x00 to 0x1F (a TAB is "^I"), "^?" for 0x7F. Other bytes are kept as they are, so a
// text of the system code page stays one. Shows a person a character that would otherwise be
// invisible, or act (a line break, a terminal's escape).
std::string CaretNotation(std::string_view text);

}  // namespace trayhost
