// SPDX-License-Identifier: GPL-3.0-or-later
// From a key press in the data-entry dialog to the first sound of its echo
// reaching the audio device: an ordinary key ("a", spoken as it goes down)
// and a one-dot chord (F with the braille keyboard on, spoken as it is
// held). The embedded engine plays through OpenAL Soft's wave backend in
// real time; the moment of the first sound is its audio start event, which
// the engine posts once the first non-silent samples are queued on the
// device, as it arrives on the GUI thread.
//
// audible_median_ms: from the key event to the first audible sample of the
// echo in the wave writer's output, which plays in real time: the samples
// between the output's length when the key was sent and that sample. The
// writer's length is "now" to within one mixing period (512 frames, about
// 12 ms), which bounds the figure's precision.
//
// Run: ./key_echo_bench (offscreen); the counter median_ms is the median.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

#include "keyboard/braille_table.h"
#include "keyboard/key_state.h"
#include "keyboard/qt/tform2.h"
#include "keyboard/qt/virtual_key.h"
#include "runtime/clock.h"
#include "runtime/message_pump.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "speech/espeak/espeak_engine.h"
#include "speech/qt/qt_gui_thread_poster.h"
#include "speech/speech_service.h"
#include "support/fakes.h"

namespace orbela {
namespace {

using Clock = std::chrono::steady_clock;

class Pump final : public MessagePump {
public:
    void ProcessPending() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
    void WaitAndProcess() override
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
};

// Passes everything on to the real engine and notes when audio started.
class TimedEngine final : public SpeechEngine, private SpeechEngineListener {
public:
    explicit TimedEngine(std::unique_ptr<SpeechEngine> engine) : engine_(std::move(engine)) {}

    void SetListener(SpeechEngineListener* listener) override
    {
        listener_ = listener;
        engine_->SetListener(listener ? this : nullptr);
    }
    void Speak(std::string_view text, SpeechMarkup markup) override { engine_->Speak(text, markup); }
    void Reset() override { engine_->Reset(); }
    std::optional<std::uint32_t> Parameter(SpeechParameter p) const override { return engine_->Parameter(p); }
    bool SetParameter(SpeechParameter p, std::uint32_t v) override { return engine_->SetParameter(p, v); }
    std::vector<VoiceInfo> ListVoices() const override { return engine_->ListVoices(); }
    void SelectVoice(const std::string& identifier) override { engine_->SelectVoice(identifier); }

    std::optional<Clock::time_point> firstSound;

private:
    void AudioStart() override
    {
        if (!firstSound)
            firstSound = Clock::now();
        if (listener_)
            listener_->AudioStart();
    }
    void AudioStop(std::uint64_t finished) override
    {
        if (listener_)
            listener_->AudioStop(finished);
    }

    std::unique_ptr<SpeechEngine> engine_;
    SpeechEngineListener* listener_ = nullptr;
};

std::filesystem::path WavePath;

// The wave writer's output: where its samples start and how they are kept.
struct WaveLayout {
    std::uintmax_t dataStart = 0;
    int channels = 0;
    int rate = 0;
    int bytesPerSample = 0;
    bool floating = false;
};

std::optional<WaveLayout> ReadWaveLayout()
{
    std::ifstream in(WavePath, std::ios::binary);
    std::string header(4096, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(in.gcount()));
    const auto u16 = [&](std::size_t at) { return std::uint16_t(std::uint8_t(header[at]) | std::uint8_t(header[at + 1]) << 8); };
    const auto u32 = [&](std::size_t at) { return std::uint32_t(u16(at) | std::uint32_t(u16(at + 2)) << 16); };
    WaveLayout layout;
    for (std::size_t at = 12; at + 8 <= header.size(); at += 8 + u32(at + 4)) {
        const std::string chunk = header.substr(at, 4);
        if (chunk == "fmt ") {
            int tag = u16(at + 8);
            layout.channels = u16(at + 10);
            layout.rate = static_cast<int>(u32(at + 12));
            layout.bytesPerSample = u16(at + 22) / 8;
            if (tag == 0xFFFE)
                tag = u16(at + 32);
            layout.floating = tag == 3;
        } else if (chunk == "data") {
            layout.dataStart = at + 8;
            return layout;
        }
    }
    return std::nullopt;
}

// The frame (counted from the output's start) of the first sample after
// byte offset `from` louder than about -34 dBFS; nullopt when none came.
std::optional<std::uintmax_t> FirstAudibleAfter(std::uintmax_t from, const WaveLayout& layout)
{
    const std::uintmax_t frame = std::uintmax_t(layout.channels) * layout.bytesPerSample;
    from -= (from - layout.dataStart) % frame;
    std::ifstream in(WavePath, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t at = 0; at + layout.bytesPerSample <= data.size(); at += layout.bytesPerSample) {
        double level = 0;
        if (layout.floating && layout.bytesPerSample == 4) {
            float value;
            std::memcpy(&value, data.data() + at, 4);
            level = value;
        } else if (layout.bytesPerSample == 2) {
            std::int16_t value;
            std::memcpy(&value, data.data() + at, 2);
            level = value / 32768.0;
        } else {
            return std::nullopt;
        }
        if (std::abs(level) > 0.02)
            return (from - layout.dataStart) / frame + at / frame;
    }
    return std::nullopt;
}

void UseWaveBackend()
{
    const auto folder = std::filesystem::temp_directory_path() / ("orbela-echo-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    WavePath = folder / "out.wav";
    // The program's own mixing periods (its alsoft.conf), into the writer.
    std::ofstream(folder / "alsoft.conf") << "[general]\ndrivers=wave\nperiod_size=512\nperiods=2\n[wave]\nfile="
                                          << WavePath.string() << "\n";
    ::setenv("ALSOFT_CONF", (folder / "alsoft.conf").c_str(), 1);
    ::unsetenv("ALSOFT_DRIVERS");
}

struct Desk {
    Desk()
    {
        runtime.State().voiceallowed = true;
        runtime.SetSpeech(speech);
        auto engine = std::make_unique<TimedEngine>(std::make_unique<EspeakEngine>(poster));
        timed = engine.get();
        speech.SetEngine(EngineSlot::Embedded, std::move(engine));
        speech.SetUseSapi5(false);
        speech.VoiceSelected();
        speech.CharacterNames().Load(ORBELA_DATA_DIR "/english.eky");
        braille.LoadBrailleTable(ORBELA_DATA_DIR "/czech.ebt");
        qApp->installEventFilter(&keyFilter);
        dialog.SetServices({&runtime, &speech, &keys, &braille, {}});
    }

    Screen screen;
    testing::ScriptedDialog unused;
    testing::RecordingSpeech silent;
    VirtualClock clock;
    Runtime runtime{screen, unused, silent, clock};
    Pump pump;
    QtGuiThreadPoster poster;
    SpeechService speech{runtime.State(), pump};
    TimedEngine* timed = nullptr;
    KeyStateTable keys;
    KeyStateFilter keyFilter{keys};
    BrailleTable braille;
    TForm2 dialog{2000};
};

Desk& TheDesk()
{
    static Desk desk;
    return desk;
}

void MeasureEcho(benchmark::State& state, int key, const QString& text, bool chord)
{
    Desk& desk = TheDesk();
    desk.runtime.State().braillekeys = chord;
    std::vector<double> samples;
    std::optional<WaveLayout> layout;
    // Per key: the writer's frame when the key was sent, the echo's first
    // audible frame.
    std::vector<std::pair<std::uintmax_t, std::uintmax_t>> keysAndSounds;
    for (auto _ : state) {
        desk.timed->firstSound.reset();
        if (!layout)
            layout = ReadWaveLayout();
        const std::uintmax_t written = std::filesystem::file_size(WavePath);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        const auto start = Clock::now();
        // The press handler queues the echo and returns; its sound starts
        // as the engine's event arrives.
        QApplication::sendEvent(desk.dialog.inputedit, &press);
        const auto deadline = start + std::chrono::seconds(5);
        while (!desk.timed->firstSound && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (!desk.timed->firstSound) {
            state.SkipWithError("the echo made no sound");
            break;
        }
        const double seconds = std::chrono::duration<double>(*desk.timed->firstSound - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds * 1000);
        QApplication::sendEvent(desk.dialog.inputedit, &release);
        // Each key is measured on its own, after the echo before it ended.
        while (desk.speech.Flags().sapi4speaking && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        desk.dialog.inputedit->clear();
        if (layout && written > layout->dataStart) {
            const std::uintmax_t frameBytes = std::uintmax_t(layout->channels) * layout->bytesPerSample;
            if (const auto frame = FirstAudibleAfter(written, *layout))
                keysAndSounds.emplace_back((written - layout->dataStart) / frameBytes, *frame);
        }
    }
    if (!samples.empty()) {
        std::sort(samples.begin(), samples.end());
        state.counters["median_ms"] = samples[samples.size() / 2];
    }
    // Key to the first audible sample the wave writer wrote.
    std::vector<double> audible;
    for (const auto& [key, frame] : keysAndSounds)
        audible.push_back(double(frame - key) * 1000 / layout->rate);
    if (!audible.empty()) {
        std::sort(audible.begin(), audible.end());
        state.counters["audible_median_ms"] = audible[audible.size() / 2];
        state.counters["audible_max_ms"] = audible.back();
    }
}

void OrdinaryKey(benchmark::State& state)
{
    MeasureEcho(state, Qt::Key_A, "a", false);
}

void OneDotChord(benchmark::State& state)
{
    MeasureEcho(state, Qt::Key_F, "f", true);
}

BENCHMARK(OrdinaryKey)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(OneDotChord)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orbela

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    orbela::UseWaveBackend();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
