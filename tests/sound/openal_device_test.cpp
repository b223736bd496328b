// SPDX-License-Identifier: GPL-3.0-or-later
// The sound list on a real OpenAL Soft device whose wave-file backend writes
// the mix to a file, which the tests then measure.

#include "sound/openal_device.h"

#include <AL/alc.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "runtime/clock.h"
#include "text/error.h"
#include "runtime/runtime.h"
#include "runtime/runtime_state.h"
#include "runtime/screen.h"
#include "signal_analysis.h"
#include "sound/sound_list.h"
#include "sound/sound_list_tone_sounds.h"
#include "support/fakes.h"
#include "support/gui_queue.h"

namespace orbela {
namespace {

using namespace std::chrono_literals;
using testing::LoudSpans;
using testing::Magnitude;
using testing::PeakFrequency;

constexpr double CaptureRate = 48000;

struct Capture {
    std::vector<double> mono;  // left and right averaged, −1..1
    double rate = 0;
};

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// Reads the 16-bit stereo file the backend wrote; its own walk, not the
// program's, so that the measurement does not lean on the code it measures.
Capture ReadCapture(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Capture capture;
    std::size_t at = 12;
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;
    while (at + 8 <= bytes.size()) {
        std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4);
        std::size_t size = Le32(bytes, at + 4);
        at += 8;
        if (id == "fmt ") {
            channels = static_cast<std::uint16_t>(bytes[at + 2] | bytes[at + 3] << 8);
            capture.rate = Le32(bytes, at + 4);
            bits = static_cast<std::uint16_t>(bytes[at + 14] | bytes[at + 15] << 8);
        } else if (id == "data") {
            std::size_t end = size == 0 || at + size > bytes.size() ? bytes.size() : at + size;
            EXPECT_EQ(bits, 16);
            EXPECT_EQ(channels, 2);
            for (std::size_t i = at; i + 3 < end; i += 4) {
                auto left = static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8);
                auto right = static_cast<std::int16_t>(bytes[i + 2] | bytes[i + 3] << 8);
                capture.mono.push_back((left + right) / 65536.0);
            }
            break;
        }
        at += size + (size & 1);
    }
    return capture;
}

std::span<const double> Piece(const Capture& capture, const testing::Span& span)
{
    return std::span<const double>(capture.mono).subspan(span.begin, span.Length());
}

double Seconds(const Capture& capture, const testing::Span& span)
{
    return static_cast<double>(span.Length()) / capture.rate;
}

// OpenAL Soft reads its configuration once per process, so every test here
// shares one capture file; each test opens the device (which starts the file
// anew), plays, and closes it before measuring.
class OpenAlWaveBackend : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                           ("orbela-openal-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*folder);
        std::ofstream config(*folder / "alsoft.conf");
        config << "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\nfrequency="
               << static_cast<int>(CaptureRate) << "\nhrtf=false\n[wave]\nfile=" << (*folder / "out.wav").string()
               << "\n";
        config.close();
        ::setenv("ALSOFT_CONF", (*folder / "alsoft.conf").c_str(), 1);
        ::setenv("ALSOFT_DRIVERS", "wave", 1);
        ::setenv("ALSOFT_LOGLEVEL", "0", 1);
    }
    static void TearDownTestSuite()
    {
        std::filesystem::remove_all(*folder);
        delete folder;
    }

    void SetUp() override
    {
        device = OpenAlDevice::Open();
        list = std::make_unique<SoundList>(device.get(), clock);
        ASSERT_TRUE(list->LoadFile(ORBELA_SOUNDS_DAT));
    }

    // Closes the device, which completes the file, and reads it.
    Capture Finish()
    {
        list.reset();
        device.reset();
        return ReadCapture(*folder / "out.wav");
    }

    static inline std::filesystem::path* folder = nullptr;
    SystemClock clock;
    std::unique_ptr<OpenAlDevice> device;
    std::unique_ptr<SoundList> list;
};

TEST_F(OpenAlWaveBackend, ASoundEffectReturnsOnlyAfterItsWholeWaveHasSounded)
{
    // Let the backend start writing first, so the beep is not at the edge.
    std::this_thread::sleep_for(50ms);
    RuntimeState state;
    auto started = std::chrono::steady_clock::now();
    list->PlaySoundEffect("beep", state);
    auto waited = std::chrono::steady_clock::now() - started;
    // Closed at once: whatever had not sounded yet would be missing.
    Capture capture = Finish();

    // The mixer works a few periods of about 20 ms ahead of the clock, so
    // the wave may have been mixed whole somewhat before 100 ms have passed.
    EXPECT_GE(waited, 50ms);
    ASSERT_EQ(capture.rate, CaptureRate);
    auto spans = LoudSpans(capture.mono, 0.002, 480);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(Seconds(capture, spans[0]), 0.1, 0.012);
    EXPECT_NEAR(PeakFrequency(Piece(capture, spans[0]), capture.rate, 200, 3000, 5), 880, 10);
}

TEST_F(OpenAlWaveBackend, CopiesLoopsAndTheSoundsSwitchOnTheRealDevice)
{
    // With the Orbela sounds off nothing sounds, and the name is not even
    // looked up (an unknown name raises nothing).
    RuntimeState off;
    off.orbelasounds = false;
    EXPECT_NO_THROW(list->PlaySoundEffect("no such wave", off));
    list->PlaySoundEffect("beep", off);

    // A looped sound played twice restarts its one source, never a copy.
    Sound& tone = list->FindSound("snd11");
    tone.SetLooped(true);
    tone.Play(PlayWait::NoWait);
    tone.Play(PlayWait::NoWait);
    EXPECT_EQ(tone.CopyCount(), 0u);
    std::this_thread::sleep_for(60ms);
    tone.Stop();

    // At the limit of two copies, a third play restarts the older copy.
    Sound& beep = list->FindSound("BEEP");
    beep.SetMaxPlayingCount(2);
    for (int play = 0; play < 3; ++play)
        beep.Play(PlayWait::NoWait);
    EXPECT_EQ(beep.CopyCount(), 2u);
    beep.Stop();

    Capture capture = Finish();
    ASSERT_EQ(capture.rate, CaptureRate);
    // Only the loop and the beeps sounded: the loud part starts with the
    // tone (440 Hz), not with a beep (880 Hz) played while the sounds were
    // off. Its first 40 ms are the tone alone.
    auto spans = LoudSpans(capture.mono, 0.002, 480);
    ASSERT_FALSE(spans.empty());
    testing::Span start = spans[0];
    start.end = std::min(start.end, start.begin + static_cast<std::size_t>(0.04 * capture.rate));
    EXPECT_NEAR(PeakFrequency(Piece(capture, start), capture.rate, 200, 3000, 5), 440, 15);
}

TEST_F(OpenAlWaveBackend, AToneAtSixtyFourTimesThreeHundredHertzPeaksAtThreeHundred)
{
    Sound& tone = list->FindSound("snd15");
    tone.SetLooped(true);
    tone.SetFrequency(64 * 300);
    tone.Play(PlayWait::NoWait);
    std::this_thread::sleep_for(300ms);
    tone.Stop();
    Capture capture = Finish();

    auto spans = LoudSpans(capture.mono, 0.01, 480);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(Seconds(capture, spans[0]), 0.3, 0.05);
    EXPECT_NEAR(PeakFrequency(Piece(capture, spans[0]), capture.rate, 100, 3000, 2), 300, 3);
}

TEST_F(OpenAlWaveBackend, AChordOfThreeHundredAndFourHundredFiftyHertzPeaksAtBoth)
{
    for (auto [name, pitch] : {std::pair{"snd15", 300}, std::pair{"snd25", 450}}) {
        Sound& tone = list->FindSound(name);
        tone.SetLooped(true);
        tone.SetFrequency(64 * pitch);
        tone.Play(PlayWait::NoWait);
    }
    std::this_thread::sleep_for(200ms);
    list->FindSound("snd15").Stop();
    list->FindSound("snd25").Stop();
    Capture capture = Finish();

    auto spans = LoudSpans(capture.mono, 0.01, 480);
    ASSERT_EQ(spans.size(), 1u);
    auto chord = Piece(capture, spans[0]);
    double peak = PeakFrequency(chord, capture.rate, 100, 3000, 2);
    EXPECT_TRUE(std::abs(peak - 300) <= 3 || std::abs(peak - 450) <= 3) << peak;
    double at300 = Magnitude(chord, capture.rate, 300);
    double at450 = Magnitude(chord, capture.rate, 450);
    EXPECT_NEAR(at300 / at450, 1.0, 0.15);
    // Between the two and at the fifth above, nothing.
    EXPECT_LT(Magnitude(chord, capture.rate, 375), at300 * 0.05);
    EXPECT_LT(Magnitude(chord, capture.rate, 1200), at300 * 0.05);
}

TEST_F(OpenAlWaveBackend, TheVolumeIsAnAttenuationInHundredthsOfADecibel)
{
    Sound& tone = list->FindSound("snd11");
    tone.SetLooped(true);
    tone.SetFrequency(64 * 500);
    tone.Play(PlayWait::NoWait);
    std::this_thread::sleep_for(200ms);
    tone.Stop();
    std::this_thread::sleep_for(200ms);
    tone.SetVolume(-2000);
    tone.Play(PlayWait::NoWait);
    std::this_thread::sleep_for(200ms);
    tone.Stop();
    Capture capture = Finish();

    auto spans = LoudSpans(capture.mono, 0.002, 2400);
    ASSERT_EQ(spans.size(), 2u);
    double full = testing::Rms(Piece(capture, spans[0]));
    double attenuated = testing::Rms(Piece(capture, spans[1]));
    EXPECT_NEAR(attenuated / full, 0.1, 0.015);
}

TEST_F(OpenAlWaveBackend, PlaysEvenAfterAnotherPartOfTheProgramChangedTheCurrentContext)
{
    // As speech might, with a context of its own: here, none at all.
    using SetThreadContext = ALCboolean (*)(ALCcontext*);
    if (auto setThreadContext = reinterpret_cast<SetThreadContext>(alcGetProcAddress(nullptr, "alcSetThreadContext")))
        setThreadContext(nullptr);
    alcMakeContextCurrent(nullptr);

    std::this_thread::sleep_for(50ms);
    list->PlaySoundEffect("beep", RuntimeState{});
    Capture capture = Finish();

    auto spans = LoudSpans(capture.mono, 0.002, 480);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(Seconds(capture, spans[0]), 0.1, 0.012);
}

TEST_F(OpenAlWaveBackend, TheToneStatementHoldsItsChordForItsLengthAtBothPitches)
{
    Screen screen;
    testing::ScriptedDialog dialog;
    testing::RecordingSpeech speech;
    Runtime runtime(screen, dialog, speech, clock);
    SoundListToneSounds sounds(*list);
    // The main window's timer and message loop in real time: the wait
    // blocks until the armed interval has passed, then the tick clears the flag.
    testing::GuiQueue loop;
    loop.OnTick([&runtime] { runtime.State().timerwait = false; });
    runtime.SetToneSounds(&sounds);
    runtime.SetToneTimer(&loop);
    runtime.SetMessagePump(loop);

    std::this_thread::sleep_for(50ms);
    runtime.Tone({300, 450}, 5, 100);
    // What has not sounded yet when the device closes would be missing, so
    // the mixer gets time to finish; the chord is stopped already.
    std::this_thread::sleep_for(100ms);
    Capture capture = Finish();

    auto spans = LoudSpans(capture.mono, 0.01, 480);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(Seconds(capture, spans[0]), 0.1, 0.025);
    auto chord = Piece(capture, spans[0]);
    const double at300 = Magnitude(chord, capture.rate, 300);
    const double at450 = Magnitude(chord, capture.rate, 450);
    EXPECT_NEAR(at300 / at450, 1.0, 0.2);
    // Between and around the two (their overtones aside), nothing.
    for (double elsewhere : {200.0, 375.0, 525.0})
        EXPECT_LT(Magnitude(chord, capture.rate, elsewhere), at300 * 0.1) << elsewhere;
    const double peak = PeakFrequency(chord, capture.rate, 100, 3000, 2);
    EXPECT_TRUE(std::abs(peak - 300) <= 6 || std::abs(peak - 450) <= 6) << peak;
    EXPECT_FALSE(runtime.State().timerwait);
    EXPECT_EQ(runtime.State().sndwaveset, 5);
}

// Waits, in short sleeps, until the device rests or a generous time passed.
bool RestsWithin(const OpenAlDevice& device, std::chrono::milliseconds limit)
{
    auto until = std::chrono::steady_clock::now() + limit;
    while (!device.Resting() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    return device.Resting();
}

TEST_F(OpenAlWaveBackend, TheOutputRestsAfterSilenceOnlyAndTheNextSoundStillSounds)
{
    list.reset();
    device.reset();
    device = OpenAlDevice::Open({}, 100ms);
    list = std::make_unique<SoundList>(device.get(), clock);
    ASSERT_TRUE(list->LoadFile(ORBELA_SOUNDS_DAT));

    // A looped sound keeps the output awake for many times the delay.
    Sound& tone = list->FindSound("snd11");
    tone.SetLooped(true);
    tone.Play(PlayWait::NoWait);
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(device->Resting());
    tone.Stop();

    // Once it is silent the output rests, and while it rests the writer
    // writes nothing: the file holds the tone and then stands still.
    ASSERT_TRUE(RestsWithin(*device, 10s));
    const auto path = *folder / "out.wav";
    const auto restingSize = std::filesystem::file_size(path);
    Capture atRest = ReadCapture(path);
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(device->Resting());
    EXPECT_EQ(std::filesystem::file_size(path), restingSize);
    ASSERT_EQ(atRest.rate, CaptureRate);
    auto spans = LoudSpans(atRest.mono, 0.002, 480);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(PeakFrequency(Piece(atRest, spans[0]), atRest.rate, 200, 3000, 5), 440, 15);

    // The next sound wakes the output and plays to its end, which a source
    // on a paused output never reaches. (The wave writer of this OpenAL
    // version rewrites its file from the header after a pause, so the
    // sound is followed by its source rather than in the file.)
    WaveFormat format{.formatTag = WaveFormatPcm, .channels = 1, .samplesPerSec = 22050,
                      .avgBytesPerSec = 44100, .blockAlign = 2, .bitsPerSample = 16};
    std::vector<std::uint8_t> samples(22050 / 10 * 2, 0);
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2)
        samples[i + 1] = (i / 2) % 25 < 12 ? 0x40 : 0xc0;  // 882 Hz square
    auto buffer = device->CreateBuffer(format, samples);
    auto source = buffer->CreateSource();
    source->Play(PlayMode::Once);
    EXPECT_FALSE(device->Resting());
    auto until = std::chrono::steady_clock::now() + 10s;
    while (source->IsPlaying() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(source->IsPlaying());

    // And after it, the output rests again.
    EXPECT_TRUE(RestsWithin(*device, 10s));
    source.reset();
    buffer.reset();
    Finish();
}

TEST_F(OpenAlWaveBackend, AnOutputThatCannotBeOpenedIsReportedInAPlayersWords)
{
    try {
        OpenAlDevice::Open("no such output");
        FAIL() << "a device without a name was opened";
    } catch (const Error& error) {
        std::string text = error.what();
        EXPECT_EQ(text.rfind("DirectSound cannot be initialized: ", 0), 0u) << text;
        EXPECT_EQ(text, "DirectSound cannot be initialized: the sound output \"no such output\" was not found, "
                        "or another program holds it");
    }
}

} // namespace
} // namespace orbela
