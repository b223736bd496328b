// SPDX-License-Identifier: GPL-3.0-or-later
// The authored "sounds.dat" as the build placed it in the program's folder.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "signal_analysis.h"
#include "signal_waves.h"
#include "recording_audio_device.h"
#include "runtime/clock.h"
#include "text/error.h"
#include "sound/sound_list.h"
#include "sound/sound_list_tone_sounds.h"
#include "sound/sound_stream.h"

namespace orbela {
namespace {

using testing::Magnitude;

std::vector<std::uint8_t> GeneratedFile()
{
    std::ifstream in(ORBELA_SOUNDS_DAT, std::ios::binary);
    EXPECT_TRUE(in) << "missing " << ORBELA_SOUNDS_DAT;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<double> Samples(const Wave& wave)
{
    std::vector<double> samples;
    for (std::size_t i = 0; i + 1 < wave.samples.size(); i += 2)
        samples.push_back(static_cast<std::int16_t>(wave.samples[i] | wave.samples[i + 1] << 8) / 32768.0);
    return samples;
}

double Peak(const std::vector<double>& samples)
{
    double peak = 0;
    for (double sample : samples)
        peak = std::max(peak, std::abs(sample));
    return peak;
}

// Exact amplitude of partial n of one stored cycle.
double Partial(const std::vector<double>& cycle, int n)
{
    double re = 0;
    double im = 0;
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        double phase = 2 * M_PI * n * static_cast<double>(i) / static_cast<double>(cycle.size());
        re += cycle[i] * std::cos(phase);
        im += cycle[i] * std::sin(phase);
    }
    return 2 * std::hypot(re, im) / static_cast<double>(cycle.size());
}

class SoundsDat : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        bytes = new std::vector<std::uint8_t>(GeneratedFile());
        sounds = new std::vector<SoundRecord>(ReadSoundStream(*bytes));
    }
    static void TearDownTestSuite()
    {
        delete sounds;
        delete bytes;
    }
    static const SoundRecord& Find(const std::string& name)
    {
        for (const auto& sound : *sounds) {
            if (sound.name == name)
                return sound;
        }
        throw std::runtime_error("no sound " + name);
    }

    static inline std::vector<std::uint8_t>* bytes = nullptr;
    static inline std::vector<SoundRecord>* sounds = nullptr;
};

TEST_F(SoundsDat, IsTheGeneratorsOutputByteForByteAndStartsAsASoundListComponent)
{
    EXPECT_EQ(*bytes, authoring::BuildSoundsDat());
    EXPECT_EQ(authoring::BuildSoundsDat(), authoring::BuildSoundsDat());
    std::string head(bytes->begin(), bytes->begin() + 29);
    EXPECT_EQ(head, std::string("TPF0\x18TWaveCollectionComponent"));
}

TEST_F(SoundsDat, HoldsEveryNameTheStatementsPlayAndNoOther)
{
    std::set<std::string> expected{"beep", "click2", "click16"};
    for (int position = 1; position <= 4; ++position)
        for (int set = 1; set <= 9; ++set)
            expected.insert("snd" + std::to_string(position) + std::to_string(set));

    std::set<std::string> names;
    for (const auto& sound : *sounds)
        names.insert(sound.name);

    EXPECT_EQ(sounds->size(), 39u);
    EXPECT_EQ(names, expected);
}

TEST_F(SoundsDat, ToneWavesAreOneLoopedCycleOfSixtyFourSamplesWithTheirFundamentalStrongest)
{
    std::map<int, std::vector<double>> cycleOfSet;
    for (int position = 1; position <= 4; ++position) {
        for (int set = 1; set <= 9; ++set) {
            const SoundRecord& sound = Find("snd" + std::to_string(position) + std::to_string(set));
            SCOPED_TRACE(sound.name);
            ASSERT_TRUE(sound.wave.Format());
            auto format = *sound.wave.Format();
            EXPECT_TRUE(sound.looped);
            EXPECT_EQ(format.formatTag, WaveFormatPcm);
            EXPECT_EQ(format.channels, 1);
            EXPECT_EQ(format.bitsPerSample, 16);
            EXPECT_EQ(format.blockAlign, 2);
            EXPECT_EQ(format.samplesPerSec, 64u * 440u);
            EXPECT_EQ(format.avgBytesPerSec, format.samplesPerSec * 2);
            ASSERT_EQ(sound.wave.FrameCount(), 64u);

            auto cycle = Samples(sound.wave);
            double fundamental = Partial(cycle, 1);
            EXPECT_GT(fundamental, 0.15);
            for (int n = 2; n <= 31; ++n)
                EXPECT_LT(Partial(cycle, n), fundamental * 0.85) << "partial " << n;
            EXPECT_LT(Peak(cycle), 0.5);
            // The same set sounds the same at every position of a chord.
            if (position == 1)
                cycleOfSet[set] = cycle;
            else
                EXPECT_EQ(cycle, cycleOfSet[set]);
        }
    }
    // Every set has a timbre of its own.
    for (int a = 1; a <= 9; ++a) {
        for (int b = a + 1; b <= 9; ++b) {
            double difference = 0;
            for (int n = 2; n <= 8; ++n)
                difference += std::abs(Partial(cycleOfSet[a], n) / Partial(cycleOfSet[a], 1) -
                                       Partial(cycleOfSet[b], n) / Partial(cycleOfSet[b], 1));
            EXPECT_GT(difference, 0.1) << "sets " << a << " and " << b;
        }
    }
}

TEST_F(SoundsDat, TheBeepIsATenthOfASecondAndTheClicksAreShortAndDifferent)
{
    const SoundRecord& beep = Find("beep");
    const SoundRecord& click2 = Find("click2");
    const SoundRecord& click16 = Find("click16");
    for (const SoundRecord* sound : {&beep, &click2, &click16}) {
        SCOPED_TRACE(sound->name);
        EXPECT_FALSE(sound->looped);
        ASSERT_TRUE(sound->wave.Format());
        EXPECT_EQ(sound->wave.Format()->channels, 1);
        EXPECT_EQ(sound->wave.Format()->bitsPerSample, 16);
        auto samples = Samples(sound->wave);
        EXPECT_GT(Peak(samples), 0.3);
        EXPECT_LE(Peak(samples), 0.5);
        // Starts and ends in silence, so that it does not click by itself.
        EXPECT_LT(std::abs(samples.front()), 0.01);
        EXPECT_LT(std::abs(samples.back()), 0.01);
    }
    double rate = beep.wave.Format()->samplesPerSec;
    EXPECT_NEAR(static_cast<double>(beep.wave.FrameCount()) / rate, 0.1, 0.005);
    auto beepSamples = Samples(beep.wave);
    EXPECT_NEAR(testing::PeakFrequency(beepSamples, rate, 200, 4000, 10), 880, 10);

    double clickRate = click2.wave.Format()->samplesPerSec;
    EXPECT_LT(static_cast<double>(click2.wave.FrameCount()) / clickRate, 0.02);
    EXPECT_LT(static_cast<double>(click16.wave.FrameCount()) / clickRate, 0.02);
    EXPECT_NE(click2.wave.samples, click16.wave.samples);
    EXPECT_GT(Magnitude(Samples(click2.wave), clickRate, 3200), Magnitude(Samples(click2.wave), clickRate, 1100));
    EXPECT_GT(Magnitude(Samples(click16.wave), clickRate, 1100), Magnitude(Samples(click16.wave), clickRate, 3200));
}

TEST_F(SoundsDat, OneDamagedWaveIsReportedOnceNamingTheFileAndTheOthersPlay)
{
    // The first wave after the name "snd15" loses its RIFF mark.
    std::vector<std::uint8_t> damaged = *bytes;
    const std::string name = "snd15";
    auto at = std::search(damaged.begin(), damaged.end(), name.begin(), name.end());
    ASSERT_NE(at, damaged.end());
    const std::string riff = "RIFF";
    at = std::search(at, damaged.end(), riff.begin(), riff.end());
    ASSERT_NE(at, damaged.end());
    *at = 'X';
    auto folder = std::filesystem::temp_directory_path() / ("orbela-sounds-dat-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto path = folder / "sounds.dat";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(damaged.data()), static_cast<std::streamsize>(damaged.size()));
    }

    VirtualClock clock;
    testing::RecordingAudioDevice device;
    SoundList list(&device, clock);
    try {
        static_cast<void>(list.LoadFile(path));
        ADD_FAILURE() << "the damaged wave was not reported";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "\"" + path.string() + "\": Wave is invalid (wave 'snd15')");
    }
    std::filesystem::remove_all(folder);
    EXPECT_EQ(list.Count(), sounds->size() - 1);
    for (std::size_t i = 0; i < list.Count(); ++i)
        EXPECT_TRUE(list.At(i).Prepared()) << list.At(i).Name();
    // The statements that used the damaged wave go on without raising it
    // again; those beside it sound.
    SoundListToneSounds tones(list);
    const auto playing = [&device] {
        return std::count_if(device.sources.begin(), device.sources.end(), [](const auto& source) { return source->playing; });
    };
    EXPECT_NO_THROW(tones.FindSound("snd15").Play());
    EXPECT_EQ(playing(), 0);
    EXPECT_NO_THROW(tones.FindSound("snd25").Play());
    EXPECT_EQ(playing(), 1);
}

} // namespace
} // namespace orbela
