// SPDX-License-Identifier: GPL-3.0-or-later
#include "signal_waves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace orbela::authoring {
namespace {

constexpr double Tau = 2 * std::numbers::pi;
// Leaves head room for chords of several waves.
constexpr double TonePeak = 0.45;
constexpr double EffectPeak = 0.5;

// Amplitudes of partials 1..8 (sine phase) of each wave set. Only low
// partials: a tone of 2000 Hz must not fold its overtones back down.
constexpr std::array<std::array<double, 8>, ToneWaveSets> Partials{{
    {1},                                                     // 1 pure
    {1, 0, -1.0 / 9, 0, 1.0 / 25, 0, -1.0 / 49},             // 2 triangle
    {1, 0, 1.0 / 3, 0, 1.0 / 5, 0, 1.0 / 7},                 // 3 square
    {1, 1.0 / 2, 1.0 / 3, 1.0 / 4, 1.0 / 5, 1.0 / 6, 1.0 / 7, 1.0 / 8},  // 4 saw
    {1, 0.5},                                                // 5 with its octave
    {1, 0.5, 0, 0.25},                                       // 6 organ
    {1, 0, 0.6, 0, 0.3},                                     // 7 hollow
    {1, 0.3, 0.5, 0.2, 0.4, 0.1},                            // 8 bright
    {1, 0.8, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1},                  // 9 reed
}};

std::int16_t ToSample(double value)
{
    return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

// Scales to the peak and converts.
std::vector<std::int16_t> Normalised(const std::vector<double>& signal, double peak)
{
    double largest = 0;
    for (double value : signal)
        largest = std::max(largest, std::abs(value));
    std::vector<std::int16_t> samples;
    samples.reserve(signal.size());
    for (double value : signal)
        samples.push_back(ToSample(largest > 0 ? value / largest * peak : 0));
    return samples;
}

// A short sound: partials (frequency, amplitude) under an envelope that
// rises over `attack` seconds and decays exponentially with `decay`.
std::vector<std::int16_t> Struck(double seconds, std::initializer_list<std::pair<double, double>> partials,
                                 double attack, double decay)
{
    auto count = static_cast<std::size_t>(std::lround(seconds * EffectRate));
    std::vector<double> signal(count);
    for (std::size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / EffectRate;
        double value = 0;
        for (auto [frequency, amplitude] : partials)
            value += amplitude * std::sin(Tau * frequency * t);
        double rise = std::min(1.0, t / attack);
        // Ends at zero, so that the last sample does not click by itself.
        double fall = std::exp(-t / decay) * (1.0 - static_cast<double>(i) / static_cast<double>(count - 1));
        signal[i] = value * rise * fall;
    }
    return Normalised(signal, EffectPeak);
}

} // namespace

std::vector<std::int16_t> ToneCycle(int waveSet)
{
    if (waveSet < 1 || waveSet > ToneWaveSets)
        throw std::out_of_range("no wave set " + std::to_string(waveSet));
    const auto& partials = Partials[static_cast<std::size_t>(waveSet - 1)];
    std::vector<double> cycle(ToneCycleSamples);
    for (int i = 0; i < ToneCycleSamples; ++i) {
        double phase = Tau * i / ToneCycleSamples;
        for (std::size_t n = 0; n < partials.size(); ++n)
            cycle[static_cast<std::size_t>(i)] += partials[n] * std::sin(static_cast<double>(n + 1) * phase);
    }
    return Normalised(cycle, TonePeak);
}

std::vector<std::int16_t> BeepSamples()
{
    // A soft two-partial A5 of a tenth of a second.
    return Struck(0.1, {{880, 1.0}, {1760, 0.2}}, 0.005, 0.08);
}

std::vector<std::int16_t> Click2Samples()
{
    // A light, high tick.
    return Struck(0.006, {{3200, 1.0}, {4700, 0.4}}, 0.0005, 0.0015);
}

std::vector<std::int16_t> Click16Samples()
{
    // A rounder, lower tock.
    return Struck(0.012, {{1100, 1.0}, {2300, 0.5}}, 0.0008, 0.003);
}

std::vector<AuthoredSound> AuthoredSounds()
{
    std::vector<AuthoredSound> sounds;
    sounds.push_back({"beep", false, 0, MonoWaveFile(EffectRate, BeepSamples())});
    sounds.push_back({"click2", false, 0, MonoWaveFile(EffectRate, Click2Samples())});
    sounds.push_back({"click16", false, 0, MonoWaveFile(EffectRate, Click16Samples())});
    for (int position = 1; position <= TonePositions; ++position) {
        for (int waveSet = 1; waveSet <= ToneWaveSets; ++waveSet) {
            std::string name = "snd" + std::to_string(position) + std::to_string(waveSet);
            sounds.push_back({name, true, 0, MonoWaveFile(ToneWaveRate, ToneCycle(waveSet))});
        }
    }
    return sounds;
}

std::vector<std::uint8_t> BuildSoundsDat()
{
    return WriteSoundList(AuthoredSounds());
}

} // namespace orbela::authoring
