#include "platform/wildcard.h"

#include "platform/codepage.h"

namespace platform {

namespace {

constexpr std::string_view kEveryName = "*.*";
constexpr char kAnyRun = '*';
constexpr char kAnyCharacter = '?';

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name)
{
    if (pattern == kEveryName) return true;
    const CodePage& page = CodePage::System();
    constexpr std::size_t kNoStar = std::string_view::npos;
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t afterStar = kNoStar;  // pattern position after the last '*' seen
    std::size_t starMatchedTo = 0;    // name position that '*' has swallowed up to
    while (n < name.size()) {
        if (p < pattern.size()) {
            const std::size_t patternSize = page.CharacterSize(pattern, p);
            const std::size_t nameSize = page.CharacterSize(name, n);
            if (patternSize == 1 && pattern[p] == kAnyRun) {
                afterStar = ++p;
                starMatchedTo = n;
                continue;
            }
            const bool anyCharacter = patternSize == 1 && pattern[p] == kAnyCharacter;
            if (anyCharacter || EqualsNoCase(pattern.substr(p, patternSize), name.substr(n, nameSize))) {
                p += patternSize;
                n += nameSize;
                continue;
            }
        }
        // Mismatch: let the last '*' swallow one more character and try again from there.
        if (afterStar == kNoStar) return false;
        starMatchedTo += page.CharacterSize(name, starMatchedTo);
        p = afterStar;
        n = starMatchedTo;
    }
    while (p < pattern.size() && pattern[p] == kAnyRun) ++p;
    return p == pattern.size();
}

}  // namespace platform
