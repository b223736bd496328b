// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The embedded engine: espeak-ng synthesising on a worker thread of its own
// into an OpenAL streaming source on the default device.
//
// - The voices are espeak-ng's loadable voices, Czech first, then Slovak,
//   English and the rest by name; a voice's mode is its identifier. Before
//   any selection the first voice of the list speaks.
// - Speed (words per minute) and pitch (0..100) have espeak-ng's ranges.
//   The volume is a 32-bit value whose two 16-bit halves are the channel
//   levels, 0..0xFFFFFFFF; full volume is espeak-ng's normal volume.
//   Changes apply from the next request on.
// - The silence that the synthesiser puts before a request's first sound is
//   cut off, so that a single character's name starts at once.
// - AudioStart is posted when the first samples after a quiet spell reach
//   the device; AudioStop when the last queued request has played or a
//   reset has silenced it.
//
// espeak-ng is one per process: only one EspeakEngine may exist at a time.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "speech/engine_event_relay.h"
#include "speech/speech_engine.h"

namespace orbela {

class OpenAlStream;

class EspeakEngine final : public SpeechEngine {
public:
    // Raises Error when espeak-ng cannot be initialised, when it has no
    // voice, when no audio device opens, or while another EspeakEngine
    // exists.
    explicit EspeakEngine(GuiThreadPoster& poster);
    ~EspeakEngine() override;
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

    void SetListener(SpeechEngineListener* listener) override { relay_.SetListener(listener); }
    void Speak(std::string_view utf8Text, SpeechMarkup markup) override;
    void Reset() override;
    std::optional<std::uint32_t> Parameter(SpeechParameter parameter) const override;
    bool SetParameter(SpeechParameter parameter, std::uint32_t value) override;
    // Waits until the worker has tried every voice's data.
    std::vector<VoiceInfo> ListVoices() const override;
    // The voices tried so far: the first at least. After this first call
    // the worker tries the rest whenever it has been idle a moment.
    VoiceListing ListVoicesSoFar() const override;
    void SelectVoice(const std::string& identifier) override;

    int SampleRate() const { return sampleRate_; }

private:
    struct Request {
        std::string text;
        SpeechMarkup markup;
    };
    struct Settings {
        std::string voice;
        std::uint32_t speed = 175;
        std::uint32_t pitch = 50;
        std::uint32_t volume = 0xFFFFFFFF;
    };
    struct Synthesis;

    // Opens the output, tells `ready`, then serves requests once the
    // voices are read (`voicesRead`).
    void Run(std::promise<void>& ready, std::shared_future<void> voicesRead);
    void Synthesize(const Request& request, std::uint64_t generation, OpenAlStream& stream);
    // Takes the synthesiser's samples: false aborts the synthesis.
    bool Deliver(Synthesis& synthesis, const short* samples, int count);
    // Queues the gathered samples on the output: false when a reset came.
    bool HandOver(Synthesis& synthesis);
    void ApplySettings(const Settings& settings);
    // Whether voices are wanted and some are not tried yet; under mutex_.
    bool VoicesLeftToCheck() const { return voicesWanted_ && voicesToCheck_ < voices_.size(); }
    // Tries the next voice not yet tried, and drops it when it fails.
    void CheckNextVoice();

    EngineEventRelay relay_;
    int sampleRate_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable std::condition_variable voicesChecked_;
    // The voices before voicesToCheck_ load; the worker tries the rest once
    // the list is first wanted.
    std::vector<VoiceInfo> voices_;
    std::size_t voicesToCheck_ = 0;
    mutable bool voicesWanted_ = false;
    // Callers waiting in ListVoices: the worker tries the voices at once.
    mutable int voicesAwaited_ = 0;
    std::deque<Request> queue_;
    std::uint64_t accepted_ = 0;
    std::uint64_t generation_ = 0;  // counts resets
    bool shutdown_ = false;
    Settings settings_;

    // Worker only.
    bool audioStarted_ = false;
    // Since the last request was synthesised or reset.
    std::chrono::steady_clock::time_point idleSince_;
    std::string appliedVoice_;
    std::thread worker_;
};

} // namespace orbela
