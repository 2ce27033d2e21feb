#include "engine/wma/wmaattributereader.h"

#include "engine/wma/tests/wmatestfiles.h"
#include "testsupport/devicetree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>

// Damaged copies of the committed files must give a result, never a crash or a field without its
// terminator. The ASF header of every file lies in its first kHeaderRegion bytes; the audio
// packets after it are never read, so mutations go where the parser looks.
namespace {

constexpr std::size_t kHeaderRegion = 1024;
constexpr int kMutationsPerFile = 700;
constexpr std::size_t kTruncationStep = 3;
constexpr std::array kSizeFieldValues = {0x00ull, 0x17ull, 0x18ull, 0xFFFFull, 0xFFFFFFFFull, 0x7FFFFFFFFFFFFFFFull,
                                         0xFFFFFFFFFFFFFFFFull};

class WmaFuzzTest : public ::testing::TestWithParam<const char*> {
protected:
    void ReadDamaged(const std::string& bytes)
    {
        device_.WriteFile("damaged.wma", bytes);
        engine::TrackRecord record;
        const int32_t result = engine::ReadWmaAttributes(path_.c_str(), &record);
        ASSERT_TRUE(result == engine::kWmaRead || result == engine::kWmaCannotOpen) << "result " << result;
        for (const char* field : {record.album, record.title, record.artist, record.genre}) {
            ASSERT_LT(strnlen(field, engine::kTextFieldSize), engine::kTextFieldSize);
        }
        ASSERT_TRUE(record.trackNumber == engine::kNoTrackNumber ||
                    (record.trackNumber >= 0 && record.trackNumber <= 99));
    }

    // Writes a little-endian value of width bytes at offset, as far as the bytes reach.
    static void Overwrite(std::string& bytes, std::size_t offset, uint64_t value, std::size_t width)
    {
        for (std::size_t index = 0; index < width && offset + index < bytes.size(); ++index) {
            bytes[offset + index] = static_cast<char>(value >> (8 * index));
        }
    }

    testsupport::TemporaryDevice device_;
    std::string path_ = testsupport::DevicePath(device_, "damaged.wma");
};

TEST_P(WmaFuzzTest, TruncatedCopiesAreReadOrRefused)
{
    const std::string original = testsupport::WmaTestFile(GetParam());
    ::testing::internal::CaptureStdout();
    for (std::size_t size = 0; size < std::min(original.size(), kHeaderRegion); size += kTruncationStep) {
        ReadDamaged(original.substr(0, size));
        if (HasFatalFailure()) break;
    }
    ::testing::internal::GetCapturedStdout();
}

TEST_P(WmaFuzzTest, MutatedCopiesAreReadOrRefused)
{
    const std::string original = testsupport::WmaTestFile(GetParam());
    const std::size_t region = std::min(original.size(), kHeaderRegion);
    std::mt19937 random(20240607);
    std::uniform_int_distribution<std::size_t> offsetIn(0, region - 1);
    std::uniform_int_distribution<int> byteValue(0, 255);
    std::uniform_int_distribution<int> mutationCount(1, 4);
    std::uniform_int_distribution<std::size_t> sizeValue(0, kSizeFieldValues.size() - 1);

    ::testing::internal::CaptureStdout();
    for (int round = 0; round < kMutationsPerFile && !HasFatalFailure(); ++round) {
        std::string bytes = original;
        for (int count = mutationCount(random); count > 0; --count) {
            // Half the mutations put an extreme length where any field may be: sizes and counts are
            // what a parser trusts.
            if (round % 2 == 0) {
                bytes[offsetIn(random)] = static_cast<char>(byteValue(random));
            } else {
                const std::size_t width = round % 4 == 1 ? 4 : 8;  // a DWORD or a QWORD field
                Overwrite(bytes, offsetIn(random), kSizeFieldValues[sizeValue(random)], width);
            }
        }
        ReadDamaged(bytes);
    }
    ::testing::internal::GetCapturedStdout();
}

INSTANTIATE_TEST_SUITE_P(CommittedFiles, WmaFuzzTest,
                         ::testing::Values("all_attributes.wma", "extended_names.wma", "title_200_nonascii.wma",
                                           "track_word.wma"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
