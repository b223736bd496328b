// SPDX-License-Identifier: GPL-3.0-or-later
// How quickly the embedded engine answers, and what a wait for it costs:
// - key to sound: from SpeakCharacter to the engine's audio start, which it
//   posts once the first non-silent samples (the leading silence is cut
//   off) are queued on the OpenAL source, as the event reaches the GUI
//   thread; plus the output latency OpenAL reports for a source on the
//   default device (AL_SOFT_source_latency), the time from there to the
//   speaker;
// - the same after 2.6 s of silence, when the output rests and the key
//   must wake it first;
// - stop to silence: from StopSpeech during a long text to the engine's
//   audio stop on the GUI thread, posted once the source is stopped;
// - the CPU time of the process and of the waiting (GUI) thread during a
//   SpeakAndWait of about ten seconds, with the wake-ups of all its threads
//   (voluntary and involuntary context switches) a second, and the most
//   threads alive meanwhile.
// Each figure is the median of several rounds.
//
// Run: ./speech_latency [rounds]. OpenAL's default device is used; set
// ALSOFT_DRIVERS=null to run where no sound card exists (the null device
// plays in real time as well).

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifdef ORBELA_HAVE_OPENAL
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#endif

#include "runtime/runtime_state.h"
#include "shell/terminal/terminal_events.h"
#include "speech/espeak/espeak_engine.h"
#include "speech/speech_service.h"

namespace orbela {
namespace {

using SteadyClock = std::chrono::steady_clock;

double Milliseconds(SteadyClock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Passes everything on to the real engine and notes when its events
// arrive on the GUI thread.
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

    std::optional<SteadyClock::time_point> started;
    std::optional<SteadyClock::time_point> stopped;

private:
    void AudioStart() override
    {
        if (!started)
            started = SteadyClock::now();
        if (listener_)
            listener_->AudioStart();
    }
    void AudioStop(std::uint64_t finished) override
    {
        stopped = SteadyClock::now();
        if (listener_)
            listener_->AudioStop(finished);
    }

    std::unique_ptr<SpeechEngine> engine_;
    SpeechEngineListener* listener_ = nullptr;
};

// The output latency of a playing source on the default device, in ms;
// nullopt where the extension or the device is missing.
std::optional<double> SourceLatency()
{
#ifdef ORBELA_HAVE_OPENAL
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device)
        return std::nullopt;
    ALCcontext* context = alcCreateContext(device, nullptr);
    std::optional<double> result;
    if (context && alcMakeContextCurrent(context) && alIsExtensionPresent("AL_SOFT_source_latency")) {
        auto getSourcedv = reinterpret_cast<LPALGETSOURCEDVSOFT>(alGetProcAddress("alGetSourcedvSOFT"));
        std::vector<std::int16_t> silence(22050, 0);
        ALuint buffer = 0;
        ALuint source = 0;
        alGenBuffers(1, &buffer);
        alBufferData(buffer, AL_FORMAT_MONO16, silence.data(), static_cast<ALsizei>(silence.size() * 2), 22050);
        alGenSources(1, &source);
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
        alSourcei(source, AL_LOOPING, AL_TRUE);
        alSourcePlay(source);
        std::vector<double> latencies;
        for (int i = 0; i < 20 && getSourcedv; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ALdouble values[2] = {0, 0};
            getSourcedv(source, AL_SEC_OFFSET_LATENCY_SOFT, values);
            latencies.push_back(values[1] * 1000);
        }
        alSourceStop(source);
        alDeleteSources(1, &source);
        alDeleteBuffers(1, &buffer);
        if (!latencies.empty())
            result = Median(latencies);
    }
    alcMakeContextCurrent(nullptr);
    if (context)
        alcDestroyContext(context);
    alcCloseDevice(device);
    return result;
#else
    return std::nullopt;
#endif
}

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Context switches of every thread of the process so far, and how many
// threads there are.
struct Switches {
    long long count = 0;
    int threads = 0;
};

Switches ProcessSwitches()
{
    Switches result;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.find("ctxt_switches:") != std::string::npos)
                result.count += std::atoll(line.substr(line.find(':') + 1).c_str());
        }
        ++result.threads;
    }
    return result;
}

const char* const LongText =
    "The old road runs north from the village through the forest, past the mill and the ruined chapel, "
    "and climbs to the pass where the wind never stops. Travellers rest at the inn below the ridge "
    "and leave before dawn.";

// The start event arrives through the GUI queue: wait for it (and for the
// end of the letter, so that the next round starts in silence).
double KeyToSound(TimedEngine& timed, SpeechService& speech, TerminalEvents& events)
{
    timed.started.reset();
    timed.stopped.reset();
    const auto start = SteadyClock::now();
    speech.SpeakCharacter(Utterance::FieldEcho, "k");
    while (!timed.started)
        events.WaitAndProcess();
    const double milliseconds = Milliseconds(*timed.started - start);
    while (!timed.stopped)
        events.WaitAndProcess();
    return milliseconds;
}

int Run(int rounds)
{
    const std::optional<double> latency = SourceLatency();

    RuntimeState state;
    state.voiceallowed = true;
    TerminalEvents events;
    SpeechService speech(state, events);
    auto engine = std::make_unique<TimedEngine>(std::make_unique<EspeakEngine>(events));
    TimedEngine* timed = engine.get();
    for (const VoiceInfo& voice : timed->ListVoices()) {
        if (voice.language.rfind("en", 0) == 0) {
            timed->SelectVoice(voice.identifier);
            break;
        }
    }
    speech.SetEngine(EngineSlot::Embedded, std::move(engine));
    speech.VoiceSelected();
    speech.CharacterNames().Load(ORBELA_DATA_DIR "/english.eky");

    std::vector<double> keyToSound;
    for (int i = 0; i < rounds; ++i) {
        keyToSound.push_back(KeyToSound(*timed, speech, events));
    }

    // The same after the output has rested (it pauses after 2 s of
    // silence), so that the key also pays for waking it.
    std::vector<double> keyToSoundAfterRest;
    for (int i = 0; i < std::min(rounds, 5); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2600));
        events.ProcessPending();
        keyToSoundAfterRest.push_back(KeyToSound(*timed, speech, events));
    }

    std::vector<double> stopToSilence;
    for (int i = 0; i < rounds; ++i) {
        timed->started.reset();
        speech.Speak(Utterance::PrintedLine, LongText);
        while (!timed->started)
            events.WaitAndProcess();
        // Let it speak a little before it is cut off.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        events.ProcessPending();
        timed->stopped.reset();
        const auto start = SteadyClock::now();
        speech.StopSpeech();
        while (!timed->stopped)
            events.WaitAndProcess();
        stopToSilence.push_back(Milliseconds(*timed->stopped - start));
    }

    std::vector<double> processCpu;
    std::vector<double> waitCpu;
    std::vector<double> wakeUps;
    int threads = 0;
    double wall = 0;
    for (int i = 0; i < std::max(1, rounds / 10); ++i) {
        const double process0 = CpuSeconds(RUSAGE_SELF);
        const double thread0 = CpuSeconds(RUSAGE_THREAD);
        const Switches switches0 = ProcessSwitches();
        const auto start = SteadyClock::now();
        speech.SpeakAndWait(LongText);
        wall = std::chrono::duration<double>(SteadyClock::now() - start).count();
        const Switches switches1 = ProcessSwitches();
        wakeUps.push_back(static_cast<double>(switches1.count - switches0.count) / wall);
        threads = std::max({threads, switches0.threads, switches1.threads});
        processCpu.push_back((CpuSeconds(RUSAGE_SELF) - process0) / wall * 100);
        waitCpu.push_back((CpuSeconds(RUSAGE_THREAD) - thread0) / wall * 100);
    }

    std::printf("key to first sound on the GUI thread: median %.2f ms of %zu\n", Median(keyToSound),
                keyToSound.size());
    std::printf("the same after 2.6 s of silence (output resting): median %.2f ms of %zu\n",
                Median(keyToSoundAfterRest), keyToSoundAfterRest.size());
    if (latency)
        std::printf("output latency OpenAL reports for a source: median %.1f ms\n", *latency);
    else
        std::printf("output latency OpenAL reports for a source: not available\n");
    std::printf("stop to silence: median %.2f ms of %zu\n", Median(stopToSilence), stopToSilence.size());
    std::printf("during a %.1f s wait: process CPU median %.2f %% of one core, waiting thread %.2f %%\n", wall,
                Median(processCpu), Median(waitCpu));
    std::printf("while speaking: %.0f wake-ups a second (median), %d threads\n", Median(wakeUps), threads);
    return keyToSound.empty() ? 1 : 0;
}

} // namespace
} // namespace orbela

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    try {
        return orbela::Run(rounds);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "speech_latency: %s\n", error.what());
        return 1;
    }
}
