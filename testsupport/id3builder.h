#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Builds ID3 tags and small MP3 files byte by byte, for tests, demo devices and benchmarks.
// Everything is returned as a std::string of raw bytes, ready for TemporaryDevice::WriteFile.
//
//   std::string tag = Id3v2Tag(Id3v2TextFrame("TIT2", "Song") + Id3v2TextFrame("TRCK", "7/12"));
//   std::string file = Mp3File(tag, Id3v1Block({.title = "Song", .track = 7, .genre = 13}));
namespace testsupport {

// The four 7-bit size groups of an ID3v2 header, most significant first (size below 2^28).
std::array<uint8_t, 4> SynchsafeSizeBytes(uint32_t size);

// An ID3v2.3 frame: identifier, content size as a plain big-endian number, two zero flag bytes,
// then the content.
std::string Id3v2Frame(std::string_view id, std::string_view content);

// A frame whose size field says declaredSize whatever the content really is (hostile input).
std::string Id3v2FrameDeclaringSize(std::string_view id, uint32_t declaredSize, std::string_view content);

// A text frame: the encoding byte, then the text bytes as given (0 = system code page).
std::string Id3v2TextFrame(std::string_view id, std::string_view text, uint8_t encoding = 0);

// An ID3v2.3 tag: 10-byte header with the synchsafe size of the frames and the zero padding.
std::string Id3v2Tag(std::string_view frames, std::size_t padding = 0);

// A tag whose header carries the given size bytes as they are (hostile input).
std::string Id3v2TagWithSizeBytes(std::array<uint8_t, 4> sizeBytes, std::string_view frames);

// Fields of an ID3v1 block. Texts longer than their field are cut. A non-zero track makes it a
// version 1.1 block (comment cut to 28 bytes, byte 125 zero, byte 126 the track); with track 0
// the comment may fill all 30 bytes. Genre 255 is the usual "no genre".
struct Id3v1Fields {
    std::string_view title{};
    std::string_view artist{};
    std::string_view album{};
    std::string_view year{};
    std::string_view comment{};
    uint8_t track = 0;
    uint8_t genre = 255;
};

// The 128-byte ID3v1 block: "TAG", the fields, zero padding.
std::string Id3v1Block(const Id3v1Fields& fields);

// An MP3 file: the ID3v2 tag (may be empty), audioBytes of filler MPEG audio frames, then the
// ID3v1 block (may be empty).
std::string Mp3File(std::string_view id3v2Tag, std::string_view id3v1Block = {}, std::size_t audioBytes = 2048);

}  // namespace testsupport
