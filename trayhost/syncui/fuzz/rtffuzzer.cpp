// libFuzzer target for the RTF reader of the help viewer: any bytes read into a document whose runs
// are valid UTF-8 of shown text, with font sizes in their bounds and no two neighbouring runs of one
// format. Also run over mutated inputs by tests/rtffuzztest.cpp.

#include "trayhost/syncui/rtfreader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

std::size_t Utf8SequenceLength(unsigned char first)
{
    if (first < 0x80) return 1;
    if (first >= 0xC2 && first <= 0xDF) return 2;
    if (first >= 0xE0 && first <= 0xEF) return 3;
    if (first >= 0xF0 && first <= 0xF4) return 4;
    return 0;
}

bool IsValidText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto first = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8SequenceLength(first);
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        if (length == 1 && first < 0x20 && first != '\t' && first != '\n') return false;
        i += length;
    }
    return true;
}

bool IsSound(const trayhost::RtfDocument& document)
{
    for (const trayhost::RtfParagraph& paragraph : document.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            const trayhost::RtfRun& run = paragraph.runs[i];
            if (run.text.empty() || !IsValidText(run.text)) return false;
            if (run.format.halfPoints < trayhost::kRtfMinHalfPoints ||
                run.format.halfPoints > trayhost::kRtfMaxHalfPoints) {
                return false;
            }
            if (i > 0 && paragraph.runs[i - 1].format == run.format) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!IsSound(trayhost::ReadRtf(bytes))) __builtin_trap();
    return 0;
}
