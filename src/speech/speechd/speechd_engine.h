// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system speech service: speech-dispatcher, reached through libspeechd
// in threaded mode under a client name of the program's own. Texts go out
// at the "message" priority, so that nothing is dropped unless the system
// itself cancels it; markup goes out in SSML data mode. The connection's
// language is Czech, the language of the hosted program. The service's
// begin event is the audio start; its end and cancel events are the audio
// stop. The voice and its parameters are the user's system settings: this
// engine lists no voices and has no parameters.

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "speech/engine_event_relay.h"
#include "speech/speech_engine.h"

namespace orbela {

// speech-dispatcher's priorities, highest first: what cuts or drops what
// when several clients (a screen reader and this program) speak.
enum class SpeechdPriority { Important, Message, Text, Notification, Progress };
// "important", "message", ...; nullopt for anything else.
std::optional<SpeechdPriority> ParseSpeechdPriority(std::string_view name);

class SpeechdEngine final : public SpeechEngine {
public:
    enum class Spawn { IfNeeded, Never };

    // Connects to the service named by SPEECHD_ADDRESS, or the user's
    // default one (started on demand with Spawn::IfNeeded). Raises Error
    // when it cannot be reached.
    explicit SpeechdEngine(GuiThreadPoster& poster, Spawn spawn = Spawn::IfNeeded);
    ~SpeechdEngine() override;
    SpeechdEngine(const SpeechdEngine&) = delete;
    SpeechdEngine& operator=(const SpeechdEngine&) = delete;

    void SetListener(SpeechEngineListener* listener) override { relay_.SetListener(listener); }
    void Speak(std::string_view utf8Text, SpeechMarkup markup) override;
    void Reset() override;
    std::optional<std::uint32_t> Parameter(SpeechParameter) const override { return std::nullopt; }
    bool SetParameter(SpeechParameter, std::uint32_t) override { return false; }
    std::vector<VoiceInfo> ListVoices() const override { return {}; }
    void SelectVoice(const std::string& identifier) override;
    // For the requests that follow; "message" until set.
    void SetPriority(SpeechdPriority priority) { priority_ = priority; }

private:
    struct Registry;
    struct Connection;
    enum class Event { Begin, End };
    // Called on libspeechd's thread.
    void OnEvent(std::size_t message, Event event);
    // Under mutex_: a request is over.
    void Finished();

    EngineEventRelay relay_;
    std::unique_ptr<Connection> connection_;
    std::size_t clientId_ = 0;
    bool ssmlMode_ = false;
    SpeechdPriority priority_ = SpeechdPriority::Message;

    std::mutex mutex_;
    std::uint64_t finished_ = 0;
    std::set<std::size_t> pending_;
    // Events that came before spd_say returned the message's number.
    std::set<std::size_t> endedEarly_;
    // Messages below this number were all counted as over by a reset.
    std::size_t resetBelow_ = 0;
};

} // namespace orbela
