// Sorts 10,000 and 20,000 generated track records by title and by artist with the catalogue's sort
// and prints both times and their ratio: about 2 for an n log n sort, about 4 for a quadratic one.

#include "engine/catalogue/trackcatalogue.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

namespace {

// Titles are nearly all distinct; artists repeat about twenty times each, as on a real device.
void FillCatalogue(engine::TrackCatalogue& catalogue, int records)
{
    std::mt19937 random(static_cast<unsigned>(records));
    catalogue.ClearTracks();
    for (int i = 0; i < records; ++i) {
        engine::TrackRecord record;
        engine::SetText(record.title, "Song " + std::to_string(random() % (records * 10)));
        engine::SetText(record.artist, "Artist " + std::to_string(random() % (records / 20)));
        catalogue.AppendTrack(record);
    }
}

double SortSeconds(int records, engine::SortKey key)
{
    engine::TrackCatalogue catalogue;
    FillCatalogue(catalogue, records);
    const auto start = std::chrono::steady_clock::now();
    catalogue.SortTracks(0, catalogue.TrackCount() - 1, key);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Compare(const char* what, engine::SortKey key)
{
    const double small = SortSeconds(10'000, key);
    const double large = SortSeconds(20'000, key);
    std::printf("by %-6s 10,000 records %8.4f s, 20,000 records %8.4f s, ratio %.2f\n", what, small, large,
                large / small);
}

}  // namespace

int main()
{
    Compare("title", engine::SortKey::Title);
    Compare("artist", engine::SortKey::Artist);
    return 0;
}
