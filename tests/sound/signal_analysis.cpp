// SPDX-License-Identifier: GPL-3.0-or-later
#include "signal_analysis.h"

#include <cmath>
#include <numbers>

namespace orbela::testing {

double Magnitude(std::span<const double> samples, double sampleRate, double frequency)
{
    const double n = static_cast<double>(samples.size());
    double re = 0;
    double im = 0;
    double windowSum = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / (n - 1));
        double phase = 2 * std::numbers::pi * frequency * static_cast<double>(i) / sampleRate;
        re += samples[i] * window * std::cos(phase);
        im -= samples[i] * window * std::sin(phase);
        windowSum += window;
    }
    return windowSum > 0 ? std::hypot(re, im) / windowSum : 0;
}

double PeakFrequency(std::span<const double> samples, double sampleRate, double low, double high, double step)
{
    double best = low;
    double bestMagnitude = -1;
    for (double frequency = low; frequency <= high; frequency += step) {
        double magnitude = Magnitude(samples, sampleRate, frequency);
        if (magnitude > bestMagnitude) {
            bestMagnitude = magnitude;
            best = frequency;
        }
    }
    return best;
}

std::vector<Span> LoudSpans(std::span<const double> samples, double threshold, std::size_t bridge)
{
    std::vector<Span> spans;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) <= threshold)
            continue;
        if (!spans.empty() && i - spans.back().end <= bridge)
            spans.back().end = i + 1;
        else
            spans.push_back({i, i + 1});
    }
    return spans;
}

double Rms(std::span<const double> samples)
{
    double sum = 0;
    for (double sample : samples)
        sum += sample * sample;
    return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

} // namespace orbela::testing
