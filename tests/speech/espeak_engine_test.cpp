// SPDX-License-Identifier: GPL-3.0-or-later
// The embedded engine against the real espeak-ng, its sound going through
// OpenAL Soft's wave backend into a file that the tests measure.

#include "speech/espeak/espeak_engine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "text/error.h"
#include "runtime/runtime_state.h"
#include "sound/openal_device.h"
#include "speech/espeak/openal_stream.h"
#include "speech/espeak/voice_order.h"
#include "speech/speech_service.h"
#include "speech/voice_selection.h"
#include "support/fakes.h"
#include "support/gui_queue.h"
#include "wave_file.h"

namespace orbela {
namespace {

using testing::Cp;

// OpenAL Soft reads its configuration once, at its first use in the
// process: every engine of this process writes to the same file, which
// each opening of the device starts afresh.
const std::filesystem::path& WaveOutput()
{
    static const std::filesystem::path path = [] {
        const auto folder = std::filesystem::temp_directory_path() / ("orbela-speech-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        const auto wave = folder / "speech.wav";
        const auto config = folder / "alsoft.conf";
        std::ofstream(config) << "[general]\ndrivers=wave\nfrequency=22050\nchannels=mono\nsample-type=int16\n"
                              << "[wave]\nfile=" << wave.string() << "\n";
        ::unsetenv("ALSOFT_DRIVERS");
        ::setenv("ALSOFT_CONF", config.c_str(), 1);
        return wave;
    }();
    return path;
}

constexpr const char* LongText =
    "Stojíš na okraji temného lesa. Na sever vede úzká pěšina mezi starými duby, na jihu se táhne bažina, "
    "ze které stoupá mlha. V dálce slyšíš zvonit kostelní zvon a vítr přináší vůni kouře. "
    "Po tvé levé ruce leží převrácený vůz s rozbitým kolem a vedle něj stará truhla, zamčená na velký zámek. "
    "Cesta zpátky do vesnice je zavalená kamením a nikdo jiný tu není.";

class EspeakEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WaveOutput();
        gui.SetTimeout(std::chrono::milliseconds(20000));
        state.voiceallowed = true;
        auto created = std::make_unique<EspeakEngine>(gui);
        engine = created.get();
        service.SetEngine(EngineSlot::Embedded, std::move(created));
        service.VoiceSelected();
    }

    // Speech written to the file so far, in samples of sound.
    std::size_t Loud() const { return testing::ReadWaveFile(WaveOutput()).LoudSamples(); }
    std::size_t Seconds(double seconds) const { return static_cast<std::size_t>(seconds * 22050); }
    void Settle() const { std::this_thread::sleep_for(std::chrono::milliseconds(400)); }

    RuntimeState state;
    testing::GuiQueue gui;
    SpeechService service{state, gui};
    EspeakEngine* engine = nullptr;
};

TEST(VoiceOrder, CzechSlovakEnglishThenTheRestByName)
{
    std::vector<VoiceInfo> voices{{"Afrikaans", "gmw/af", "af"},   {"English (America)", "gmw/en-US", "en-us"},
                                  {"Slovak", "zlw/sk", "sk"},      {"Catalan", "roa/ca", "ca"},
                                  {"English (Great Britain)", "gmw/en", "en-gb"}, {"Czech", "zlw/cs", "cs"},
                                  {"Esperanto", "art/eo", "eo"}};
    SortVoicesForList(voices);
    std::vector<std::string> names;
    for (const auto& voice : voices)
        names.push_back(voice.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Czech", "Slovak", "English (America)", "English (Great Britain)",
                                               "Afrikaans", "Catalan", "Esperanto"}));
}

TEST_F(EspeakEngineTest, ListsLoadableVoicesCzechFirstAndReportsItsRanges)
{
    const auto voices = engine->ListVoices();
    ASSERT_GE(voices.size(), 3u);
    EXPECT_EQ(voices[0].language, "cs");
    EXPECT_EQ(voices[1].language, "sk");
    EXPECT_EQ(voices[2].language.substr(0, 2), "en");
    EXPECT_NO_THROW(engine->SelectVoice(voices[1].identifier));
    EXPECT_THROW(engine->SelectVoice("no/such-voice"), Error);

    const auto volume = ReadVolumeRange(*engine);
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->minimum, 0);
    EXPECT_EQ(volume->maximum, 255);
    EXPECT_EQ(volume->position, 255);
    const auto speed = ReadSpeedRange(*engine);
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->minimum, 80);
    EXPECT_EQ(speed->maximum, 450);
    EXPECT_EQ(speed->position, 175);
}

// Trying every voice takes tens of milliseconds of a core: the list starts
// with the voice tried at start, and the rest are tried between requests,
// never while one is synthesised.
TEST_F(EspeakEngineTest, VoicesAreListedAsTriedAndTheRestAreTriedBetweenRequests)
{
    engine->Speak(LongText, SpeechMarkup::Plain);
    const VoiceListing first = engine->ListVoicesSoFar();
    ASSERT_FALSE(first.voices.empty());
    EXPECT_EQ(first.voices[0].language, "cs");
    EXPECT_NO_THROW(engine->SelectVoice(first.voices[0].identifier));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const VoiceListing whileSpeaking = engine->ListVoicesSoFar();
    EXPECT_FALSE(whileSpeaking.complete);
    EXPECT_EQ(whileSpeaking.voices.size(), first.voices.size());

    engine->Reset();
    VoiceListing later = whileSpeaking;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!later.complete && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        later = engine->ListVoicesSoFar();
    }
    ASSERT_TRUE(later.complete);
    ASSERT_GE(later.voices.size(), 3u);
    EXPECT_EQ(later.voices[0].identifier, first.voices[0].identifier);
    EXPECT_EQ(engine->ListVoices().size(), later.voices.size());
}

TEST_F(EspeakEngineTest, SpeakAndWaitReturnsOnlyAfterItsAudioHasPlayed)
{
    service.SpeakAndWait(Cp("Dobrý den, vítejte ve hře. Za chvíli začneme."));
    const std::size_t atReturn = Loud();
    EXPECT_FALSE(service.Flags().sapi4speaking);
    Settle();
    const std::size_t later = Loud();
    EXPECT_GT(atReturn, Seconds(0.5));
    // What comes after the return is at most what the file's write buffer
    // held back, nothing of the speech itself.
    EXPECT_LT(later - atReturn, Seconds(0.15)) << "at return " << atReturn << ", later " << later;
}

TEST_F(EspeakEngineTest, StopDuringALongTextEndsTheWaitAndTheSoundAtOnce)
{
    std::thread key([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        gui.Post([&] { service.StopSpeech(); });
    });
    service.SpeakAndWait(Cp(LongText));
    key.join();
    EXPECT_FALSE(service.Flags().sapi4speaking);
    const std::size_t atReturn = Loud();
    Settle();
    const std::size_t later = Loud();
    // The whole text lasts well over ten seconds; it was cut after 0.6 s.
    EXPECT_LT(atReturn, Seconds(1.5));
    EXPECT_LT(later - atReturn, Seconds(0.15)) << "at return " << atReturn << ", later " << later;

    // The engine speaks again after the reset.
    service.SpeakAndWait("Ano.");
    Settle();
    EXPECT_GT(Loud(), later + Seconds(0.1));
}

TEST_F(EspeakEngineTest, InjectedSpeedChangesTheLengthOfTheAudio)
{
    const std::string text = Cp("Na sever vede úzká pěšina mezi starými duby.");
    Inject(*engine, SpeedTag(400));
    service.SpeakAndWait(text);
    Settle();
    const std::size_t fast = Loud();
    Inject(*engine, SpeedTag(100));
    service.SpeakAndWait(text);
    Settle();
    const std::size_t slow = Loud() - fast;
    EXPECT_GT(fast, Seconds(0.3));
    EXPECT_GT(slow, fast * 2) << "fast " << fast << ", slow " << slow;
}

// A tenth of a second of an 882 Hz square at 22050 Hz.
std::vector<std::int16_t> SquareBlock()
{
    std::vector<std::int16_t> block(22050 / 10);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = i % 25 < 12 ? 8000 : -8000;
    return block;
}

// Polls until the condition holds or a generous time passed.
template <typename Condition>
bool WaitFor(Condition condition)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
}

// The speech stream's output rests once all it was given has played, and
// the next block wakes it: that block plays to its end, which it never
// would on a paused output.
TEST(OpenAlStreamRest, RestsAfterItsQueueRanDryAndTheNextBlockStillPlays)
{
    WaveOutput();
    using namespace std::chrono_literals;
    OpenAlStream stream(22050, 100ms);
    const std::vector<std::int16_t> block = SquareBlock();

    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 3; ++i)
            stream.Queue(block.data(), block.size());
        EXPECT_FALSE(stream.Resting()) << round;
        EXPECT_TRUE(WaitFor([&] { return !stream.Playing(); })) << round;
        EXPECT_EQ(stream.SamplesPending(), 0u) << round;
        EXPECT_TRUE(WaitFor([&] { return stream.Resting(); })) << round;
    }
}

// Speech and the sounds share one output: it stays awake while a sound
// loops after the speech ran dry, rests only once both are silent, and
// either of them wakes it again. As in the program, the sounds are played
// from another thread than the speech's own.
TEST(OpenAlStreamRest, TheSharedOutputRestsOnlyWhenSpeechAndSoundsAreBothSilent)
{
    WaveOutput();
    using namespace std::chrono_literals;
    OpenAlStream stream(22050, 100ms);
    const std::vector<std::int16_t> block = SquareBlock();
    const auto onSoundThread = [](auto action) { return std::async(std::launch::async, action).get(); };
    const auto sounds = onSoundThread([] { return OpenAlDevice::Open({}, 100ms); });
    const WaveFormat format{WaveFormatPcm, 1, 22050, 44100, 2, 16};
    const auto buffer = onSoundThread([&] {
        return sounds->CreateBuffer(
            format, std::span(reinterpret_cast<const std::uint8_t*>(block.data()), block.size() * sizeof(block[0])));
    });
    const auto loop = onSoundThread([&] { return buffer->CreateSource(); });
    const auto loopPlays = [&] { return onSoundThread([&] { return loop->IsPlaying(); }); };

    onSoundThread([&] { loop->Play(PlayMode::Looping); });
    stream.Queue(block.data(), block.size());
    EXPECT_TRUE(WaitFor([&] { return !stream.Playing(); }));
    std::this_thread::sleep_for(400ms);
    EXPECT_FALSE(stream.Resting()) << "the output paused under a looping sound";
    EXPECT_TRUE(loopPlays());

    onSoundThread([&] { loop->Stop(); });
    EXPECT_TRUE(WaitFor([&] { return stream.Resting() && sounds->Resting(); }));
    stream.Queue(block.data(), block.size());
    EXPECT_FALSE(sounds->Resting());
    EXPECT_TRUE(WaitFor([&] { return !stream.Playing(); })) << "speech on the woken output never played out";
    EXPECT_TRUE(WaitFor([&] { return sounds->Resting(); }));
    onSoundThread([&] { loop->Play(PlayMode::Once); });
    EXPECT_FALSE(stream.Resting());
    EXPECT_TRUE(WaitFor([&] { return !loopPlays(); })) << "a sound on the woken output never played out";
}

} // namespace
} // namespace orbela
