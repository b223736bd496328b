// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound player keeps the settings of its first device: a playback rate
// in Hz, a balance and an attenuation in hundredths of a decibel. These turn
// them into what an AudioSource takes.

#include <cstdint>

namespace orbela {

inline constexpr std::int32_t SilentVolume = -10000;
inline constexpr std::int32_t FullVolume = 0;

// The rate as a factor of the wave's own rate; 0 (and any rate that is not
// positive) plays the wave at its own rate.
float PitchForFrequency(std::int32_t hz, std::uint32_t waveRate);

// 10^(v/2000), v limited to −10000..0.
float GainForVolume(std::int32_t hundredthsOfDecibel);

struct SourcePosition {
    float x = 0;
    float y = 0;
    float z = -1;
};

// −10000 full left, 0 centre, 10000 full right, on a circle of radius 1
// in front of the listener so that the distance never changes the loudness.
SourcePosition PositionForPan(std::int32_t pan);

// The sound dialog's slider: position 0..100 gives −10000..0, and back.
std::int32_t VolumeForSliderPosition(int position);
int SliderPositionForVolume(std::int32_t volume);

} // namespace orbela
