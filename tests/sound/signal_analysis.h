// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small measurements of recorded sound for the tests: where it is loud,
// and at which frequency its spectrum peaks.

#include <cstddef>
#include <span>
#include <vector>

namespace orbela::testing {

// Amplitude of the frequency in the samples (−1..1), by a Hann-windowed
// single-bin DFT; a full-scale sine there gives about 0.5.
double Magnitude(std::span<const double> samples, double sampleRate, double frequency);

// The frequency of the largest magnitude from `low` to `high` in `step` Hz.
double PeakFrequency(std::span<const double> samples, double sampleRate, double low, double high, double step);

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t Length() const { return end - begin; }
};

// Runs of samples louder than `threshold`, quieter gaps shorter than
// `bridge` samples joined.
std::vector<Span> LoudSpans(std::span<const double> samples, double threshold, std::size_t bridge);

double Rms(std::span<const double> samples);

} // namespace orbela::testing
