// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_mapping.h"

#include <algorithm>
#include <cmath>

namespace orbela {

float PitchForFrequency(std::int32_t hz, std::uint32_t waveRate)
{
    if (hz <= 0 || waveRate == 0)
        return 1.0f;
    return static_cast<float>(static_cast<double>(hz) / waveRate);
}

float GainForVolume(std::int32_t hundredthsOfDecibel)
{
    std::int32_t volume = std::clamp(hundredthsOfDecibel, SilentVolume, FullVolume);
    return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

SourcePosition PositionForPan(std::int32_t pan)
{
    double x = std::clamp(pan, -10000, 10000) / 10000.0;
    return {static_cast<float>(x), 0.0f, static_cast<float>(-std::sqrt(1.0 - x * x))};
}

std::int32_t VolumeForSliderPosition(int position)
{
    return std::clamp(position, 0, 100) * 100 - 10000;
}

int SliderPositionForVolume(std::int32_t volume)
{
    return (std::clamp(volume, SilentVolume, FullVolume) + 10000) / 100;
}

} // namespace orbela
