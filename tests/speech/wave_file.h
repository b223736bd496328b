// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads what OpenAL Soft's wave backend has written so far: the samples of
// the first channel, as 16-bit values, whatever the header says about the
// data's length (the backend fills it in only when it closes the file).

#include <cstdint>
#include <filesystem>
#include <vector>

namespace orbela::testing {

struct WaveSamples {
    int sampleRate = 0;
    std::vector<std::int16_t> samples;

    // Samples at or above the level, a measure of how much was spoken.
    std::size_t LoudSamples(int level = 500) const;
    // One past the last sample at or above the level; 0 when there is none.
    std::size_t EndOfSound(int level = 500) const;
};

WaveSamples ReadWaveFile(const std::filesystem::path& path);

} // namespace orbela::testing
