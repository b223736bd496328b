// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The authored signal sounds: the beep, two clicks, and the tone waves that
// the tone statement plays as chords.

#include <cstdint>
#include <vector>

#include "object_stream_writer.h"

namespace orbela::authoring {

// Each tone wave holds exactly one cycle in this many samples, so a tone
// played at 64 × pitch samples a second sounds the pitch.
inline constexpr int ToneCycleSamples = 64;
// The tone waves' own rate: played at it, a tone wave sounds 440 Hz.
inline constexpr std::uint32_t ToneWaveRate = ToneCycleSamples * 440;
inline constexpr std::uint32_t EffectRate = 22050;
inline constexpr int ToneWaveSets = 9;
inline constexpr int TonePositions = 4;

// One cycle of wave set 1..9; the sets differ in their overtones, and the
// fundamental is the strongest partial of each.
std::vector<std::int16_t> ToneCycle(int waveSet);
std::vector<std::int16_t> BeepSamples();
std::vector<std::int16_t> Click2Samples();
std::vector<std::int16_t> Click16Samples();

// "beep", "click2", "click16", then "snd" + position + wave set for every
// position and set.
std::vector<AuthoredSound> AuthoredSounds();

// The whole "sounds.dat"; the same bytes at every call.
std::vector<std::uint8_t> BuildSoundsDat();

} // namespace orbela::authoring
