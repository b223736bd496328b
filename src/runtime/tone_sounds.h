// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound list as the sound statements see it: named waves looked up one
// by one, and the played-to-the-end effects of Beep and Click. The desktop
// hands in an adapter over its sound list; without one the statements are
// silent.

#include <cstdint>
#include <string_view>

namespace orbela {

// One wave of the list, as the tone statement drives it.
class ToneSound {
public:
    virtual ~ToneSound() = default;
    virtual void SetLooped(bool looped) = 0;
    virtual void SetFrequency(std::int32_t hz) = 0;
    // Attenuation in hundredths of a decibel, -10000..0.
    virtual void SetVolume(std::int32_t hundredthsOfDecibel) = 0;
    // Starts the wave and returns at once.
    virtual void Play() = 0;
    virtual void Stop() = 0;
};

class ToneSounds {
public:
    virtual ~ToneSounds() = default;
    // The wave of that name in any letter case; raises "Wave '%s' not found".
    // The reference is good until the list is reloaded.
    virtual ToneSound& FindSound(std::string_view name) = 0;
    // Gives the wave the volume and plays it to its end, blocking without
    // pumping messages. Only called while the Orbela sounds are on.
    virtual void PlaySoundEffect(std::string_view name, std::int32_t sndvolume) = 0;
};

} // namespace orbela
