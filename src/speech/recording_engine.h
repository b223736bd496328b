// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An engine that speaks nothing and remembers every command, for tests of
// whatever drives an engine. It reports its events through the GUI-thread
// poster like a real engine: in Playback::Immediate each request posts its
// audio start and stop at once; in Playback::Held the audio starts and goes
// on until Finish() or Reset(); in Playback::Manual nothing is posted until
// the test calls Start() and Finish().

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "speech/engine_event_relay.h"
#include "speech/speech_engine.h"

namespace orbela {

class RecordingEngine final : public SpeechEngine {
public:
    enum class Playback { Immediate, Held, Manual };

    struct Command {
        enum class Kind { Speak, Reset, SetParameter, SelectVoice };
        Kind kind;
        std::string text;  // Speak: the UTF-8 text; SelectVoice: the identifier
        SpeechMarkup markup = SpeechMarkup::Plain;
        SpeechParameter parameter = SpeechParameter::Speed;
        std::uint32_t value = 0;
    };

    struct Range {
        std::uint32_t minimum;
        std::uint32_t maximum;
        std::uint32_t value;
    };

    explicit RecordingEngine(GuiThreadPoster& poster, Playback playback = Playback::Immediate);

    void SetListener(SpeechEngineListener* listener) override { relay_.SetListener(listener); }
    void Speak(std::string_view utf8Text, SpeechMarkup markup) override;
    void Reset() override;
    std::optional<std::uint32_t> Parameter(SpeechParameter parameter) const override;
    bool SetParameter(SpeechParameter parameter, std::uint32_t value) override;
    std::vector<VoiceInfo> ListVoices() const override;
    VoiceListing ListVoicesSoFar() const override;
    void SelectVoice(const std::string& identifier) override;

    // Test controls.
    void SetPlayback(Playback playback) { playback_ = playback; }
    // Posts an audio start.
    void Start() { relay_.PostAudioStart(); }
    // Ends held audio: posts the stop of everything accepted so far.
    void Finish();
    // A parameter the engine has, with its range and current value;
    // parameters not given are not implemented.
    void SetRange(SpeechParameter parameter, Range range) { ranges_[parameter] = range; }
    void SetVoices(std::vector<VoiceInfo> voices) { voices_ = std::move(voices); }
    // Only the first `count` voices are known until ListVoices waits for
    // the rest, as while an engine still tries them.
    void KnowVoicesSoFar(std::size_t count) { knownVoices_ = count; }
    // How many times a caller had to wait for voices not yet known.
    int VoiceWaits() const { return voiceWaits_; }
    // The next Speak raises Error with this text.
    void FailNextSpeak(std::string message) { failure_ = std::move(message); }
    // Called with each text as it is accepted, for a test that writes speech
    // in one record with other events, in their order.
    void OnSpeak(std::function<void(const std::string&)> observer) { onSpeak_ = std::move(observer); }

    const std::vector<Command>& Commands() const { return commands_; }
    // The texts of the Speak commands, in order.
    std::vector<std::string> SpokenTexts() const;
    void ClearCommands() { commands_.clear(); }

private:
    EngineEventRelay relay_;
    Playback playback_;
    std::uint64_t accepted_ = 0;
    std::map<SpeechParameter, Range> ranges_;
    std::vector<VoiceInfo> voices_;
    mutable std::size_t knownVoices_ = SIZE_MAX;
    mutable int voiceWaits_ = 0;
    std::vector<Command> commands_;
    std::string failure_;
    std::function<void(const std::string&)> onSpeak_;
};

} // namespace orbela
