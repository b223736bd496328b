// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a sound list in the binary object stream form the program reads
// from "sounds.dat": one "TWaveCollectionComponent" whose "List" holds one
// item per sound, each wave a complete RIFF/WAVE file.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orbela::authoring {

struct AuthoredSound {
    std::string name;
    bool looped = false;
    std::int32_t maxPlayingCount = 0;
    std::vector<std::uint8_t> waveFile;
};

// A RIFF/WAVE file of 16-bit mono PCM samples at `rate` samples a second.
std::vector<std::uint8_t> MonoWaveFile(std::uint32_t rate, std::span<const std::int16_t> samples);

std::vector<std::uint8_t> WriteSoundList(const std::vector<AuthoredSound>& sounds);

} // namespace orbela::authoring
