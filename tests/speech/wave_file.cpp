// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace orbela::testing {

namespace {

std::uint32_t Little32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t Little16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

std::size_t WaveSamples::LoudSamples(int level) const
{
    std::size_t count = 0;
    for (const auto sample : samples) {
        if (std::abs(sample) >= level)
            ++count;
    }
    return count;
}

std::size_t WaveSamples::EndOfSound(int level) const
{
    for (std::size_t i = samples.size(); i > 0; --i) {
        if (std::abs(samples[i - 1]) >= level)
            return i;
    }
    return 0;
}

WaveSamples ReadWaveFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error("not a wave file: " + path.string());
    WaveSamples wave;
    int channels = 1;
    int bits = 16;
    int format = 1;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(reinterpret_cast<const char*>(bytes.data() + at), 4);
        const std::uint32_t size = Little32(bytes.data() + at + 4);
        const unsigned char* body = bytes.data() + at + 8;
        if (id == "fmt ") {
            format = Little16(body);
            channels = Little16(body + 2);
            wave.sampleRate = static_cast<int>(Little32(body + 4));
            bits = Little16(body + 14);
            if (format == 0xFFFE && size >= 26)
                format = Little16(body + 24);  // the sub-format's first two bytes
        } else if (id == "data") {
            const std::size_t frame = static_cast<std::size_t>(channels) * (bits / 8);
            for (std::size_t p = at + 8; p + frame <= bytes.size(); p += frame) {
                const unsigned char* s = bytes.data() + p;
                if (format == 3 && bits == 32) {
                    float value;
                    std::memcpy(&value, s, 4);
                    wave.samples.push_back(static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767)));
                } else if (bits == 16) {
                    wave.samples.push_back(static_cast<std::int16_t>(Little16(s)));
                } else if (bits == 8) {
                    wave.samples.push_back(static_cast<std::int16_t>((s[0] - 128) << 8));
                } else {
                    throw std::runtime_error("unexpected wave format in " + path.string());
                }
            }
            return wave;
        }
        at += 8 + size + (size & 1);
    }
    return wave;
}

} // namespace orbela::testing
