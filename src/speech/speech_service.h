// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech service: everything the system says goes through its four
// operations. Behind them stand two engine slots, the embedded engine
// (espeak-ng) and the system speech service (speech-dispatcher); the flag
// usesapi5 says which one speaks. Texts come in as Windows-1250 and go to
// the engines as UTF-8.
//
// Everything runs on the GUI thread. The waits pump the message loop and
// block until its next event, so key handlers and timers run nested inside
// them; the engines' events arrive the same way and only update the flags
// and the count of finished requests.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/speech_output.h"
#include "speech/character_names.h"
#include "speech/speech_engine.h"
#include "speech/speech_log.h"

namespace orbela {

struct RuntimeState;
class MessagePump;

enum class EngineSlot {
    Embedded,  // the voice chosen in the voice dialog
    System,    // the desktop's speech service
};

struct SpeechFlags {
    // The system speech service is in use.
    bool usesapi5 = false;
    // An engine is ready: a voice was selected, or the system service is
    // in use.
    bool engineready = false;
    // Set by the embedded engine's audio start, cleared by its audio stop.
    bool sapi4speaking = false;
    // Set when a wait hands its text to the system service and by its
    // audio start, cleared by its audio stop.
    bool sapi5speaking = false;
};

// The tone statement (pitches, wave set, length in milliseconds); returns
// when the tone has ended and does nothing while the sounds are off.
using ToneStatement = std::function<void(const std::vector<double>& pitches, double waveset, double length)>;

class SpeechService final : public SpeechOutput {
public:
    // Voice allowed is read from the state at every call.
    SpeechService(const RuntimeState& state, MessagePump& pump);
    ~SpeechService() override;
    SpeechService(const SpeechService&) = delete;
    SpeechService& operator=(const SpeechService&) = delete;

    // Installs (or, with nullptr, removes) the engine of a slot. A wait for
    // the slot's previous engine ends with the next message.
    void SetEngine(EngineSlot slot, std::unique_ptr<SpeechEngine> engine);
    SpeechEngine* Engine(EngineSlot slot) const;
    void SetToneStatement(ToneStatement tone) { tone_ = std::move(tone); }
    // Every request handed to an engine is recorded there; nullptr stops it.
    void SetLog(std::unique_ptr<SpeechLog> log) { log_ = std::move(log); }

    SpeechFlags& Flags() { return flags_; }
    const SpeechFlags& Flags() const { return flags_; }
    CharacterNameTable& CharacterNames() { return names_; }

    // The engine switch: usesapi5 and engineready both take the new state,
    // so switching the system service off asks for a new voice selection.
    void SetUseSapi5(bool on);

    // Speaks and returns when the engine reports that the text has played.
    // The system service speaks an empty text as nothing; the embedded
    // engine speaks nothing while voice is not allowed.
    void SpeakAndWait(std::string_view cp1250Text) override;
    // Queues the text and returns at once.
    void Speak(std::string_view cp1250Text);
    // Speaks one character by its name from the character name table,
    // after the capital-letter tone for a capital. Silent until an engine
    // is ready, and for a character the table does not name.
    void SpeakCharacter(std::string_view cp1250Text);
    // Silences the speech in progress. With the embedded engine, an engine
    // that has nothing to play is left alone.
    void StopSpeech();

private:
    class SlotListener;
    struct Slot {
        std::unique_ptr<SpeechEngine> engine;
        std::unique_ptr<SlotListener> listener;
        std::uint64_t submitted = 0;
        std::uint64_t finished = 0;
        std::uint64_t generation = 0;
    };

    Slot& SlotOf(EngineSlot slot) { return slots_[static_cast<std::size_t>(slot)]; }
    EngineSlot SlotInUse() const { return flags_.usesapi5 ? EngineSlot::System : EngineSlot::Embedded; }
    // Hands the text to the slot's engine and returns the request's number.
    std::uint64_t Submit(EngineSlot slot, SpeechRequestKind kind, std::string_view cp1250Text, SpeechMarkup markup);
    void WaitFor(EngineSlot slot, std::uint64_t request);
    void OnAudioStart(EngineSlot slot);
    void OnAudioStop(EngineSlot slot, std::uint64_t requestsFinished);
    bool Playing(EngineSlot slot);

    const RuntimeState& state_;
    MessagePump& pump_;
    ToneStatement tone_;
    std::unique_ptr<SpeechLog> log_;
    SpeechFlags flags_;
    CharacterNameTable names_;
    std::array<Slot, 2> slots_;
};

} // namespace orbela
