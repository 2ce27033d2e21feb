#include "engine/catalogue/tests/trackbuilder.h"
#include "engine/catalogue/trackcatalogue.h"
#include "engine/profile/playlistsondevice.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using testsupport::TrackSpec;

const std::vector<TrackSpec> kTracks{
    {.artist = "Band", .album = "First Record", .title = "Opening Song", .genre = "Rock", .track = 1},
    {.artist = "Singer", .album = "Live", .title = "Encore", .genre = "Pop", .path = "..\\..\\Live\\Encore.mp3"},
};

uint64_t DigestOf(const std::vector<TrackSpec>& tracks)
{
    engine::TrackCatalogue catalogue;
    for (const TrackSpec& track : tracks) catalogue.AppendTrack(testsupport::MakeTrack(track));
    return engine::CatalogueDigest(catalogue);
}

// A change the playlists would show; the digest must see it, or the old playlists would be kept.
struct DigestCase {
    const char* name;
    std::function<void(std::vector<TrackSpec>&)> change;
};

class CatalogueDigestTest : public ::testing::TestWithParam<DigestCase> {};

TEST_P(CatalogueDigestTest, AChangeThePlaylistsShowChangesTheDigest)
{
    std::vector<TrackSpec> changed = kTracks;
    GetParam().change(changed);
    EXPECT_EQ(DigestOf(kTracks), DigestOf(kTracks));
    EXPECT_NE(DigestOf(changed), DigestOf(kTracks));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, CatalogueDigestTest,
    ::testing::Values(DigestCase{"FirstByte", [](auto& tracks) { tracks[0].title = "opening Song"; }},
                      DigestCase{"NinthByte", [](auto& tracks) { tracks[0].title = "Opening song"; }},
                      DigestCase{"LastByteOfAShortWord", [](auto& tracks) { tracks[1].title = "EncorE"; }},
                      DigestCase{"HighBit", [](auto& tracks) { tracks[1].genre = "P\xf6p"; }},
                      DigestCase{"ByteMovedToTheNextText",
                                 [](auto& tracks) {
                                     tracks[0].artist = "Ban";
                                     tracks[0].album = "dFirst Record";
                                 }},
                      DigestCase{"TrackNumber", [](auto& tracks) { tracks[0].track = 2; }},
                      DigestCase{"Path", [](auto& tracks) { tracks[1].path = "..\\..\\Live\\Encore.MP3"; }},
                      DigestCase{"Order", [](auto& tracks) { std::swap(tracks[0], tracks[1]); }}),
    [](const ::testing::TestParamInfo<DigestCase>& info) { return std::string(info.param.name); });

}  // namespace
