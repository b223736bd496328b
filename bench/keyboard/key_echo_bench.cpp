// SPDX-License-Identifier: GPL-3.0-or-later
// From a key press in the data-entry dialog to the first sound of its echo
// reaching the audio device: an ordinary key ("a", spoken as it goes down)
// and a one-dot chord (F with the braille keyboard on, spoken as it is
// held). The embedded engine plays through OpenAL Soft's wave backend in
// real time; the moment of the first sound is its audio start event, which
// the engine posts once the first non-silent samples are queued on the
// device, as it arrives on the GUI thread.
//
// Run: ./key_echo_bench (offscreen); the counter median_ms is the median.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
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

void UseWaveBackend()
{
    const auto folder = std::filesystem::temp_directory_path() / ("orbela-echo-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "alsoft.conf") << "[general]\ndrivers=wave\n[wave]\nfile=" << (folder / "out.wav").string()
                                          << "\n";
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
        speech.Flags().engineready = true;
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
    for (auto _ : state) {
        desk.timed->firstSound.reset();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        const auto start = Clock::now();
        // The echo is spoken to its end inside the press handler.
        QApplication::sendEvent(desk.dialog.inputedit, &press);
        if (!desk.timed->firstSound) {
            state.SkipWithError("the echo made no sound");
            break;
        }
        const double seconds = std::chrono::duration<double>(*desk.timed->firstSound - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds * 1000);
        QApplication::sendEvent(desk.dialog.inputedit, &release);
        desk.dialog.inputedit->clear();
    }
    if (!samples.empty()) {
        std::sort(samples.begin(), samples.end());
        state.counters["median_ms"] = samples[samples.size() / 2];
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
