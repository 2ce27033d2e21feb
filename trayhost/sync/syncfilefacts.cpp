#include "trayhost/sync/syncfilefacts.h"

#include "platform/codepage.h"

namespace trayhost {

namespace {

// The first single-byte character of the text that is below a space or among the characters.
std::optional<char> FirstCharacterOf(std::string_view text, std::string_view characters, bool controlCharacters)
{
    const platform::CodePage& page = platform::CodePage::System();
    for (std::size_t i = 0; i < text.size(); i += page.CharacterSize(text, i)) {
        if (page.CharacterSize(text, i) != 1) continue;
        const char character = text[i];
        if (controlCharacters && static_cast<unsigned char>(character) < kFirstCharacterFatAllows) return character;
        if (characters.find(character) != std::string_view::npos) return character;
    }
    return std::nullopt;
}

}  // namespace

std::optional<char> CharacterFatForbids(std::string_view name)
{
    return FirstCharacterOf(name, kCharactersFatForbids, true);
}

std::optional<char> CharacterNoPathHolds(std::string_view name)
{
    return FirstCharacterOf(name, kCharactersNoPathHolds, false);
}

}  // namespace trayhost
