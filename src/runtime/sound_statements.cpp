// SPDX-License-Identifier: GPL-3.0-or-later
// The sound statements: Tone, Beep and Click over the sound list.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "runtime/clock.h"
#include "runtime/message_pump.h"
#include "runtime/runtime.h"
#include "runtime/tone_sounds.h"
#include "runtime/tone_timer.h"

namespace orbela {

namespace {

// A chord has at most this many waves: the count is an unsigned byte.
constexpr std::size_t MaxChordWaves = 255;

// The integer part toward zero, held to the target type's range; NaN is 0.
template <typename Integer>
Integer IntegerPart(double value)
{
    if (std::isnan(value))
        return 0;
    const double whole = std::trunc(value);
    constexpr auto low = std::numeric_limits<Integer>::min();
    constexpr auto high = std::numeric_limits<Integer>::max();
    if (whole <= static_cast<double>(low))
        return low;
    if (whole >= static_cast<double>(high))
        return high;
    return static_cast<Integer>(whole);
}

std::string ChordWaveName(std::size_t position, std::int64_t waveset)
{
    return "snd" + std::to_string(position) + std::to_string(waveset);
}

std::int32_t PlaybackFrequency(double pitch)
{
    std::int64_t whole = IntegerPart<std::int32_t>(pitch);
    if (whole == 0)
        whole = 2;
    // The wave holds one cycle in 64 samples.
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(whole * 64, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

SoundingTone Runtime::StartTone(const std::vector<double>& pitches, double waveset, double length)
{
    SoundingTone tone;
    if (!state_.orbelasounds)
        return tone;
    if (waveset > 9)
        waveset = state_.sndwaveset;
    if (length < 0)
        length = state_.sndduration;
    tone.waveset = IntegerPart<std::int64_t>(waveset);
    const auto milliseconds = IntegerPart<std::int32_t>(length);
    state_.sndwaveset = static_cast<std::uint8_t>(tone.waveset);
    state_.sndduration = milliseconds;
    // A timer of interval 0 never ticks, so such a tone would only end by
    // a key; it is no tone at all instead.
    if (milliseconds == 0)
        return tone;
    tone.milliseconds = milliseconds;
    if (!sounds_)
        return tone;
    const std::size_t waves = std::min(pitches.size(), MaxChordWaves);
    try {
        while (tone.waves < waves) {
            ToneSound& sound = sounds_->FindSound(ChordWaveName(tone.waves + 1, tone.waveset));
            // Counted before it plays: a wave that fails halfway is stopped.
            ++tone.waves;
            sound.SetLooped(true);
            sound.SetFrequency(PlaybackFrequency(pitches[tone.waves - 1]));
            sound.SetVolume(state_.sndvolume);
            sound.Play();
        }
    } catch (...) {
        // A wave missing halfway must not leave the ones before it looping.
        try {
            StopTone(tone);
        } catch (...) {
        }
        throw;
    }
    return tone;
}

void Runtime::StopTone(const SoundingTone& tone)
{
    if (!sounds_)
        return;
    for (std::size_t i = 1; i <= tone.waves; ++i)
        sounds_->FindSound(ChordWaveName(i, tone.waveset)).Stop();
}

void Runtime::Tone(const std::vector<double>& pitches, double waveset, double length)
{
    const SoundingTone tone = StartTone(pitches, waveset, length);
    if (tone.milliseconds == 0)
        return;
    state_.timerwait = true;
    try {
        if (toneTimer_ && pump_) {
            toneTimer_->Start(tone.milliseconds);
            while (state_.timerwait)
                pump_->WaitAndProcess();
            toneTimer_->Stop();
        } else if (sounds_) {
            clock_.Sleep(std::chrono::milliseconds(tone.milliseconds));
        }
    } catch (...) {
        // Nor the flag set for the next wait.
        state_.timerwait = false;
        if (toneTimer_)
            toneTimer_->Stop();
        try {
            StopTone(tone);
        } catch (...) {
        }
        throw;
    }
    state_.timerwait = false;
    StopTone(tone);
}

void Runtime::Beep()
{
    if (!state_.orbelasounds || !sounds_)
        return;
    sounds_->PlaySoundEffect("beep", state_.sndvolume);
}

void Runtime::Click(double number)
{
    if (!state_.orbelasounds || !sounds_)
        return;
    sounds_->PlaySoundEffect("click" + std::to_string(IntegerPart<std::int64_t>(number)), state_.sndvolume);
}

} // namespace orbela
