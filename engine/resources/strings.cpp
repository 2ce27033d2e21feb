#include "engine/resources/strings.h"

#include <array>
#include <utility>

namespace engine {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 8> kStrings{{
    {301, "SystemSettings"},
    {302, "Main"},
    {303, "UserPlaylists"},
    {401, "Artist"},
    {402, "Album"},
    {403, "Title"},
    {404, "Genre"},
    {406, "Audio Files"},
}};

}  // namespace

std::string_view LoadEngineString(int id)
{
    for (const auto& [stringId, text] : kStrings) {
        if (stringId == id) return text;
    }
    return {};
}

}  // namespace engine
