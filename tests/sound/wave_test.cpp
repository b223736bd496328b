// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/wave.h"

#include <gtest/gtest.h>

#include <string>

#include "text/error.h"
#include "stream_builder.h"

namespace orbela {
namespace {

using testing::Bytes;
using testing::PcmFormat;
using testing::WaveFile;

const std::vector<std::uint8_t> Samples{10, 0, 20, 0, 30, 0};

std::string ErrorOf(const std::vector<std::uint8_t>& file, std::size_t offset = 0)
{
    try {
        ParseWave(file, offset);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

TEST(Wave, TakesAnEighteenByteFormatChunkWhole)
{
    auto format = PcmFormat(28160, 1, 16, true);
    ASSERT_EQ(format.size(), 18u);

    Wave wave = ParseWave(WaveFile({{"fmt ", format}, {"data", Samples}}));

    EXPECT_EQ(wave.formatRecord, format);
    EXPECT_EQ(wave.samples, Samples);
    ASSERT_TRUE(wave.Format());
    EXPECT_EQ(wave.Format()->samplesPerSec, 28160u);
    EXPECT_EQ(wave.Format()->channels, 1);
    EXPECT_EQ(wave.Format()->blockAlign, 2);
    EXPECT_EQ(wave.FrameCount(), 3u);
}

TEST(Wave, SkipsOtherChunksByTheirSizeWithoutPadding)
{
    // The odd-sized chunk is followed at once by the next header.
    std::vector<std::uint8_t> odd{'d', 'a', 't', 'a', 9};
    Wave wave = ParseWave(WaveFile({{"fmt ", PcmFormat(8000, 1, 8)}, {"LIST", odd}, {"data", Samples}, {"cue ", {1, 2, 3}}}));

    EXPECT_EQ(wave.samples, Samples);
    EXPECT_EQ(wave.Format()->samplesPerSec, 8000u);
}

TEST(Wave, EndsTheWalkAtAZeroIdentifierOrTrailingZeroBytes)
{
    auto file = WaveFile({{"fmt ", PcmFormat(8000, 1, 8)}, {"data", Samples}});
    auto padded = file;
    padded.insert(padded.end(), {0, 0, 0});
    EXPECT_EQ(ParseWave(padded).samples, Samples);

    auto zeroChunk = file;
    zeroChunk.insert(zeroChunk.end(), {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'j', 'u', 'n', 'k'});
    EXPECT_EQ(ParseWave(zeroChunk).samples, Samples);
}

TEST(Wave, RejectsAValueWithoutRiffOrWave)
{
    auto file = WaveFile({{"fmt ", PcmFormat(8000, 1, 8)}, {"data", Samples}});
    auto noRiff = file;
    noRiff[1] = 'O';
    auto noWave = file;
    noWave[8] = 'A';

    EXPECT_EQ(ErrorOf(noRiff), "Wave is invalid");
    EXPECT_EQ(ErrorOf(noWave), "Wave is invalid");
    EXPECT_EQ(ErrorOf({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}), "Wave is invalid");
}

TEST(Wave, NamesTheChunkThatRunsPastTheEndAndWhereItsDataBegins)
{
    Bytes file;
    file.Text("RIFF").U32(0).Text("WAVE").Text("fmt ").U32(16).Raw(PcmFormat(8000, 1, 8));
    file.Text("data").U32(1000).Raw(Samples);

    // Placed at byte 100 of its file: the data begins at 100 + 12 + 24 + 8.
    EXPECT_EQ(ErrorOf(file.data, 100),
              "Wave is invalid: the data of chunk \"data\" needs 1000 bytes, only 6 are left (at byte 144)");

    Bytes cutHeader;
    cutHeader.Text("RIFF").U32(0).Text("WAVE").Text("fmt ").U16(16);
    EXPECT_EQ(ErrorOf(cutHeader.data), "Wave is invalid: a chunk header is cut short (at byte 12)");
}

TEST(Wave, AFormatRecordShorterThanItsFieldsHasNoFormat)
{
    Wave wave = ParseWave(WaveFile({{"fmt ", {1, 0, 1, 0}}, {"data", Samples}}));
    EXPECT_EQ(wave.formatRecord.size(), 4u);
    EXPECT_FALSE(wave.Format());
    EXPECT_EQ(wave.FrameCount(), 0u);
}

} // namespace
} // namespace orbela
