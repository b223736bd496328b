// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech service: everything the system says goes through its four
// operations. Behind them stand two engine slots, the embedded engine
// (espeak-ng) and the system speech service (speech-dispatcher); the flag
// usesapi5 says which one speaks. Texts come in as Windows-1250 and go to
// the engines as UTF-8.
//
// Everything runs on the GUI thread. SpeakAndWait pumps the message loop
// and blocks until its next event, so key handlers and timers run nested
// inside it; a key's echo never waits: its steps (a tone, a name, a text,
// a sound) are queued and played in order, each started by the end of the
// one before (the engine's audio stop, the echo timer), and StopSpeech,
// with which every key begins, drops what is left of them.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/sounding_tone.h"
#include "runtime/speech_output.h"
#include "speech/character_names.h"
#include "speech/speech_engine.h"
#include "speech/speech_log.h"
#include "speech/speech_policy.h"

namespace orbela {

struct RuntimeState;
class MessagePump;
class EchoTimer;

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

// The tone statement in two halves, as the echo sounds its tones without
// waiting: start (pitches, wave set, length in milliseconds) starts the
// chord and says how long it is to sound, stop ends it.
struct EchoTones {
    std::function<SoundingTone(const std::vector<double>& pitches, double waveset, double length)> start;
    std::function<void(const SoundingTone& tone)> stop;
};

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
    // What the echo's tones sound on and wait with; without a timer a tone
    // is stopped as soon as it starts. The timer is not owned.
    void SetEchoTones(EchoTones tones, EchoTimer* timer);
    // Every request handed to an engine is recorded there; nullptr stops it.
    void SetLog(std::unique_ptr<SpeechLog> log) { log_ = std::move(log); }

    // Who speaks what; without one the program speaks everything, as it
    // does alone. The policy must outlive the service.
    void SetPolicy(const SpeechPolicy* policy) { policy_ = policy; }
    // Whether the handlers say this kind of thing at all.
    bool Allows(Utterance what) const { return !policy_ || policy_->Allows(what); }
    bool KeyStopsSpeech(bool modifierKey) const { return !policy_ || policy_->KeyStopsSpeech(modifierKey); }
    // An engine that speaks is ready: the embedded voice selected, or the
    // system service in use (chosen, or beside a screen reader).
    bool Ready() const;

    // The engine flags are written here only: by SetUseSapi5 and
    // VoiceSelected, and by the engines' audio events.
    const SpeechFlags& Flags() const { return flags_; }
    CharacterNameTable& CharacterNames() { return names_; }

    // The engine switch: usesapi5 and engineready both take the new state,
    // so switching the system service off asks for a new voice selection.
    void SetUseSapi5(bool on);
    // The embedded engine has a voice: it is ready to speak.
    void VoiceSelected() { flags_.engineready = true; }

    // Every operation that speaks names what it says: the policy answers
    // whether it is said at all, and when not, the operation does nothing.

    // Speaks and returns when the engine reports that the text has played.
    // The system service speaks an empty text as nothing; the embedded
    // engine speaks nothing while voice is not allowed.
    void SpeakAndWait(Utterance what, std::string_view cp1250Text);
    // The hosted program's printed lines.
    void SpeakAndWait(std::string_view cp1250Text) override { SpeakAndWait(Utterance::PrintedLine, cp1250Text); }
    // Queues the text and returns at once.
    void Speak(Utterance what, std::string_view cp1250Text);

    // The program's own interface (menus, controls, messages) speaks through
    // the engine in use or, when that one is missing, through the other;
    // nothing while the embedded engine would have to speak and voice is
    // not allowed. The slot that would speak, or nullopt.
    std::optional<EngineSlot> InterfaceSlot() const;
    // Queues an interface text there and returns at once.
    void SpeakInterface(Utterance what, std::string_view cp1250Text);
    EngineSlot SlotInUse() const;

    // The echo of a key: each of these queues a step and returns at once.
    //
    // One character by its name from the character name table, after the
    // capital-letter tone for a capital. Silent until an engine is ready,
    // and for a character the table does not name. With the embedded
    // engine the steps queued after it wait for the name's end.
    void SpeakCharacter(Utterance what, std::string_view cp1250Text);
    // A text spoken as SpeakAndWait speaks it; the steps after it wait for
    // its end instead of the caller.
    void EchoText(Utterance what, std::string_view cp1250Text);
    // A text spoken as Speak speaks it; nothing waits for it.
    void EchoQueuedText(Utterance what, std::string_view cp1250Text);
    // A tone of the tone statement, held for its length before the next step.
    void EchoTone(const std::vector<double>& pitches, double waveset, double length);
    // Runs `step` (a sound, say) once the steps queued before it are over.
    void AfterEcho(std::function<void()> step);
    // Runs `then` once neither engine speaks: at once when both are quiet.
    // A line one engine is saying is finished by it before the other speaks.
    void WhenQuiet(std::function<void()> then);
    // Queues the text on the system service when there is one (the engine in
    // use otherwise) and returns at once: there it takes its turn with the
    // screen reader's speech, whichever mode begins.
    void SpeakThroughSystemService(Utterance what, std::string_view cp1250Text);

    // Silences the speech in progress, the interface's on the other engine
    // included, and drops the echo's steps not yet played. An embedded
    // engine that has nothing to play is left alone, whether or not a voice
    // has been selected: it speaks the interface with its first voice.
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
    // Hands the text to the slot's engine and returns the request's number.
    std::uint64_t Submit(EngineSlot slot, SpeechRequestKind kind, std::string_view cp1250Text, SpeechMarkup markup);
    void WaitFor(EngineSlot slot, std::uint64_t request);
    void OnAudioStart(EngineSlot slot);
    void OnAudioStop(EngineSlot slot, std::uint64_t requestsFinished);
    bool Playing(EngineSlot slot);
    void RunWhenQuiet();
    // A line never starts while the other engine is still saying one.
    void WaitForOtherEngine(EngineSlot slot);

    // The echo (speech_echo.cpp).
    struct EchoStep {
        enum class Kind { Tone, Character, Text, QueuedText, Call };
        Kind kind = Kind::Call;
        std::string text;
        std::vector<double> pitches;
        double waveset = 0;
        double length = 0;
        std::function<void()> call;
    };
    enum class EchoWait { Nothing, Tone, Speech };
    static EchoStep ToneStep(const std::vector<double>& pitches, double waveset, double length);
    static EchoStep TextStep(EchoStep::Kind kind, std::string_view cp1250Text);
    void QueueEcho(EchoStep step);
    // Plays steps until one has to be waited for or none is left.
    void RunEcho();
    void PlayEchoStep(EchoStep& step);
    void WaitForEchoSpeech(EngineSlot slot, std::uint64_t request);
    void EchoToneEnded();
    void EchoSpeechMayHaveEnded(EngineSlot slot);
    void ClearEcho();
    // The parts of SpeakAndWait and SpeakCharacter that hand the text over;
    // each returns the request to wait for, or 0 when nothing is to wait.
    std::uint64_t SubmitWaitedText(std::string_view cp1250Text);
    std::uint64_t SubmitCharacterName(std::string_view cp1250Text);
    // Speak's part that hands the text over, the policy already asked.
    void SubmitQueuedText(std::string_view cp1250Text);

    const SpeechPolicy* policy_ = nullptr;
    const RuntimeState& state_;
    MessagePump& pump_;
    EchoTones tones_;
    EchoTimer* echoTimer_ = nullptr;
    std::deque<EchoStep> echo_;
    EchoWait echoWait_ = EchoWait::Nothing;
    EngineSlot echoSlot_ = EngineSlot::Embedded;
    std::uint64_t echoRequest_ = 0;
    std::uint64_t echoGeneration_ = 0;
    SoundingTone echoTone_;
    bool echoRunning_ = false;
    std::vector<std::function<void()>> whenQuiet_;
    std::unique_ptr<SpeechLog> log_;
    SpeechFlags flags_;
    CharacterNameTable names_;
    std::array<Slot, 2> slots_;
};

} // namespace orbela
