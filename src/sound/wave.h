// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A wave recording as a sound list holds it: the format record of its
// "fmt " chunk, kept whole, and the samples of its "data" chunk.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orbela {

inline constexpr std::uint16_t WaveFormatPcm = 1;

// The fields every format record starts with.
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

struct Wave {
    // The "fmt " chunk's data as it stood in the file (16, 18 or more bytes).
    std::vector<std::uint8_t> formatRecord;
    std::vector<std::uint8_t> samples;

    bool Empty() const { return formatRecord.empty() && samples.empty(); }
    // Nullopt when the format record is shorter than its fixed fields.
    std::optional<WaveFormat> Format() const;
    // Whole sample frames in the data; 0 when the format is unusable.
    std::size_t FrameCount() const;
};

// Walks the chunks of a complete wave file: "RIFF", a size, "WAVE", then
// chunks of an eight-byte header and their data, not padded. The walk ends
// at the end of the data (or at an identifier of zero). Raises Error
// ("Wave is invalid", with what is wrong and where for a cut chunk);
// `fileOffset` places the wave in the file for those messages.
Wave ParseWave(std::span<const std::uint8_t> file, std::size_t fileOffset = 0);

} // namespace orbela
