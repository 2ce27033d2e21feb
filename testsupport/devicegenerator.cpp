#include "testsupport/devicegenerator.h"

#include "testsupport/devicetree.h"
#include "testsupport/id3builder.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

constexpr int kTracksPerAlbum = 10;
constexpr int kAlbumsPerArtist = 5;
constexpr std::array<std::string_view, 8> kGenres{"Rock", "(13)", "Jazz", "Blues", "Classical", "(17)Rock", "Electronic", " Folk "};

struct Song {
    std::string artist;
    std::string album;
    std::string title;
    std::string genre;
    int track = 0;
};

std::string FullTag(const Song& song)
{
    return Id3v2Tag(Id3v2TextFrame("TIT2", song.title) + Id3v2TextFrame("TPE1", song.artist) +
                    Id3v2TextFrame("TALB", song.album) + Id3v2TextFrame("TCON", song.genre) +
                    Id3v2TextFrame("TRCK", std::to_string(song.track) + "/" + std::to_string(kTracksPerAlbum)));
}

// Every tenth song carries another kind of tag, so that every reading path is exercised.
std::string SongFile(const Song& song, int number)
{
    switch (number % 10) {
    case 3:  // version 2 with title and artist only; album and genre come from version 1
        return Mp3File(Id3v2Tag(Id3v2TextFrame("TIT2", song.title) + Id3v2TextFrame("TPE1", song.artist)),
                       Id3v1Block({.album = song.album, .track = static_cast<uint8_t>(song.track), .genre = 17}));
    case 6:  // version 1 only
        return Mp3File({}, Id3v1Block({.title = song.title, .artist = song.artist, .album = song.album,
                                       .track = static_cast<uint8_t>(song.track), .genre = 8}));
    case 8:  // a tag larger than the first read, as cover art makes it
        return Mp3File(Id3v2Tag(Id3v2TextFrame("TIT2", song.title) + Id3v2TextFrame("TPE1", song.artist) +
                                    Id3v2TextFrame("TALB", song.album) + Id3v2TextFrame("TRCK", "x") +
                                    Id3v2Frame("APIC", std::string(3000, 'p')) + Id3v2TextFrame("TCON", song.genre),
                                512));
    case 9:  // no tag at all
        return Mp3File({});
    default:
        return FullTag(song) + std::string(2048, '\xff');
    }
}

std::string Numbered(std::string_view prefix, int number, int width)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*s%0*d", int(prefix.size()), prefix.data(), width, number);
    return text;
}

// Album names are mostly an artist's own; now and then two artists share one, as compilations do.
std::string AlbumName(int artist, int album)
{
    if (album == 0 && artist % 25 == 0) return "Greatest Hits";
    return Numbered("Album ", artist * kAlbumsPerArtist + album, 5);
}

}  // namespace

int GenerateDevice(const std::string& directory, int audioFiles)
{
    auto write = [&](const fs::path& relative, std::string_view bytes) {
        const fs::path path = fs::path(directory) / relative;
        fs::create_directories(path.parent_path());
        WriteWholeFile(path.string(), bytes);
    };
    int written = 0;

    write("kovahdd/config.exe", "system file");
    write(".Trash-1000/notes.txt", "deleted things");
    write("empty.mp3", "");
    ++written;

    for (int number = 0; written < audioFiles; ++number) {
        const int album = number / kTracksPerAlbum;
        const int artist = album / kAlbumsPerArtist;
        Song song{Numbered("Artist ", artist, 4), AlbumName(artist, album % kAlbumsPerArtist),
                  Numbered("Song ", number, 6), std::string(kGenres[artist % kGenres.size()]),
                  number % kTracksPerAlbum + 1};
        const fs::path albumFolder = fs::path(song.artist) / song.album;
        if (song.track == 1) write(albumFolder / "cover.jpg", "jpeg");
        const bool hidden = number % 97 == 0;
        const fs::path folder = hidden ? fs::path(".hidden") : albumFolder;
        write(folder / (Numbered("", song.track, 2) + " " + song.title + ".mp3"), SongFile(song, number));
        ++written;
    }
    return written;
}

void GenerateDemoDevice(const std::string& directory)
{
    struct DemoAlbum {
        const char* artist;
        const char* album;
        const char* genre;
        std::array<const char*, 4> titles;
    };
    static constexpr std::array<DemoAlbum, 4> kAlbums{{
        {"The Lanterns", "Harbour Lights", "Rock", {"Northern Pier", "Salt and Rope", "Lighthouse", "Tide Tables"}},
        {"The Lanterns", "Small Hours", "Rock", {"Insomnia", "Four A.M.", "Milk Train", "Dawn Chorus"}},
        {"Mira Okafor", "Blue Rooms", "(8)", {"Velvet", "Second Floor", "Cobalt", "Window Seat"}},
        {"Quartetto Ponte", "Sonatas for Rain", "Classical", {"Allegro", "Adagio", "Minuet", "Presto"}},
    }};
    for (const DemoAlbum& album : kAlbums) {
        for (int track = 1; track <= 4; ++track) {
            const Song song{album.artist, album.album, album.titles[track - 1], album.genre, track};
            const fs::path path = fs::path(directory) / "Music" / album.artist / album.album /
                                  (Numbered("", track, 2) + " " + song.title + ".mp3");
            fs::create_directories(path.parent_path());
            WriteWholeFile(path.string(), Mp3File(FullTag(song)));
        }
    }
    const fs::path untagged = fs::path(directory) / "Recordings" / "voice memo.mp3";
    fs::create_directories(untagged.parent_path());
    WriteWholeFile(untagged.string(), Mp3File({}));
}

}  // namespace testsupport
