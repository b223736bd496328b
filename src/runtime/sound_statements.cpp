// SPDX-License-Identifier: GPL-3.0-or-later
// The sound statements: Tone, Beep and Click over the sound list.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

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

void Runtime::Tone(const std::vector<double>& pitches, double waveset, double length)
{
    if (!state_.orbelasounds)
        return;
    if (waveset > 9)
        waveset = state_.sndwaveset;
    if (length < 0)
        length = state_.sndduration;
    const auto set = IntegerPart<std::int64_t>(waveset);
    const auto milliseconds = IntegerPart<std::int32_t>(length);
    state_.sndwaveset = static_cast<std::uint8_t>(set);
    state_.sndduration = milliseconds;
    // A timer of interval 0 never ticks, so such a tone would only end by
    // a key; it is no tone at all instead.
    if (milliseconds == 0)
        return;

    const std::size_t waves = std::min(pitches.size(), MaxChordWaves);
    state_.timerwait = true;
    std::size_t started = 0;
    const auto stopChord = [&](std::size_t count) {
        if (!sounds_)
            return;
        for (std::size_t i = 1; i <= count; ++i)
            sounds_->FindSound(ChordWaveName(i, set)).Stop();
    };
    try {
        if (sounds_) {
            for (; started < waves; ++started) {
                ToneSound& sound = sounds_->FindSound(ChordWaveName(started + 1, set));
                sound.SetLooped(true);
                sound.SetFrequency(PlaybackFrequency(pitches[started]));
                sound.SetVolume(state_.sndvolume);
                sound.Play();
            }
        }
        if (toneTimer_ && pump_) {
            toneTimer_->Start(milliseconds);
            while (state_.timerwait)
                pump_->WaitAndProcess();
            toneTimer_->Stop();
        } else if (sounds_) {
            clock_.Sleep(std::chrono::milliseconds(milliseconds));
        }
    } catch (...) {
        // A wave missing halfway must not leave the ones before it looping
        // on, nor the flag set for the next wait.
        state_.timerwait = false;
        if (toneTimer_)
            toneTimer_->Stop();
        try {
            stopChord(std::min(started + 1, waves));
        } catch (...) {
        }
        throw;
    }
    state_.timerwait = false;
    stopChord(waves);
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
