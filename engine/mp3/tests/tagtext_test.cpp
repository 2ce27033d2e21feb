#include "engine/mp3/genretable.h"
#include "engine/mp3/tagtext.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

struct TextCase {
    std::string_view input;
    std::string_view expected;
};

class TrimTagTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(TrimTagTextTest, RemovesOuterSpacesOnly)
{
    EXPECT_EQ(TrimTagText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, TrimTagTextTest,
                         testing::Values(TextCase{"  Jazz  ", "Jazz"}, TextCase{"a  b ", "a  b"},
                                         TextCase{"", ""}, TextCase{"   ", "   "},
                                         TextCase{"\tTab\t", "\tTab\t"}));

class ResolveGenreReferenceTest : public testing::TestWithParam<TextCase> {};

TEST_P(ResolveGenreReferenceTest, Resolves)
{
    EXPECT_EQ(ResolveGenreReference(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    References, ResolveGenreReferenceTest,
    testing::Values(TextCase{"(17)", "Rock"}, TextCase{"(13)", "Pop"}, TextCase{"(17)Rock", "Rock"},
                    TextCase{"(999)Trance", "Trance"}, TextCase{"(999)(13)", "Pop"}, TextCase{"(999)", ""},
                    TextCase{"(RX)", "Blues"}, TextCase{"()", "Blues"}, TextCase{"(-1)", "Blues"},
                    TextCase{"(125)", "Dance Hall"}, TextCase{"(126)House", "House"},
                    TextCase{"(99999999999999999999)Noise", "Noise"}, TextCase{"(", "("},
                    TextCase{"(17", "(17"}, TextCase{"Jazz (8)", "Jazz (8)"}));

struct GenreCase {
    int32_t index;
    std::optional<std::string_view> name;
};

void PrintTo(const GenreCase& c, std::ostream* os)
{
    *os << "genre " << c.index;
}

class GenreNameTest : public testing::TestWithParam<GenreCase> {};

TEST_P(GenreNameTest, HasThePlayersSpelling)
{
    EXPECT_EQ(GenreName(GetParam().index), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GenreNameTest,
    testing::Values(GenreCase{0, "Blues"}, GenreCase{60, "Top "}, GenreCase{67, "Psychadelic"},
                    GenreCase{79, "Hard Rock"}, GenreCase{80, "Folk"}, GenreCase{85, "Bebob"},
                    GenreCase{123, "Acapella"}, GenreCase{125, "Dance Hall"}, GenreCase{126, std::nullopt},
                    GenreCase{255, std::nullopt}, GenreCase{-1, std::nullopt}));

}  // namespace
}  // namespace engine
