// SPDX-License-Identifier: GPL-3.0-or-later
// The echo of keys: a short queue of steps (tone, name, text, sound) that
// plays in order without anyone waiting for it. A step that lasts (a tone,
// a text whose end the next step waits for) leaves the queue standing; the
// echo timer or the engine's audio stop moves it on. So a key handler
// returns as soon as it has queued its echo, and the next key is handled
// only after this one has been inserted.

#include <utility>

#include "runtime/runtime_state.h"
#include "speech/capital_letters.h"
#include "speech/echo_timer.h"
#include "speech/speech_service.h"

namespace orbela {

namespace {

// The capital-letter tone: one high short wave before the name.
const std::vector<double> CapitalPitch{2000};
constexpr double CapitalWaveset = 1;
constexpr double CapitalLength = 20;

} // namespace

SpeechService::EchoStep SpeechService::ToneStep(const std::vector<double>& pitches, double waveset, double length)
{
    EchoStep step;
    step.kind = EchoStep::Kind::Tone;
    step.pitches = pitches;
    step.waveset = waveset;
    step.length = length;
    return step;
}

SpeechService::EchoStep SpeechService::TextStep(EchoStep::Kind kind, std::string_view cp1250Text)
{
    EchoStep step;
    step.kind = kind;
    step.text = std::string(cp1250Text);
    return step;
}

void SpeechService::SetEchoTones(EchoTones tones, EchoTimer* timer)
{
    ClearEcho();
    tones_ = std::move(tones);
    echoTimer_ = timer;
}

void SpeechService::SpeakCharacter(Utterance what, std::string_view cp1250Text)
{
    if (!Allows(what) || !Ready())
        return;
    if (cp1250Text.empty() || (cp1250Text.size() == 1 && cp1250Text[0] == '\0'))
        return;
    if (cp1250Text.size() == 1 && IsCapitalLetter(cp1250Text[0]))
        QueueEcho(ToneStep(CapitalPitch, CapitalWaveset, CapitalLength));
    QueueEcho(TextStep(EchoStep::Kind::Character, cp1250Text));
    RunEcho();
}

void SpeechService::EchoText(Utterance what, std::string_view cp1250Text)
{
    if (!Allows(what))
        return;
    QueueEcho(TextStep(EchoStep::Kind::Text, cp1250Text));
    RunEcho();
}

void SpeechService::EchoQueuedText(Utterance what, std::string_view cp1250Text)
{
    if (!Allows(what))
        return;
    QueueEcho(TextStep(EchoStep::Kind::QueuedText, cp1250Text));
    RunEcho();
}

void SpeechService::EchoTone(const std::vector<double>& pitches, double waveset, double length)
{
    QueueEcho(ToneStep(pitches, waveset, length));
    RunEcho();
}

void SpeechService::AfterEcho(std::function<void()> step)
{
    EchoStep call;
    call.kind = EchoStep::Kind::Call;
    call.call = std::move(step);
    QueueEcho(std::move(call));
    RunEcho();
}

void SpeechService::QueueEcho(EchoStep step)
{
    echo_.push_back(std::move(step));
}

void SpeechService::RunEcho()
{
    // A step that starts the queue again (a sound that stops speech) must
    // not play the steps after it from inside itself.
    if (echoRunning_)
        return;
    echoRunning_ = true;
    try {
        while (echoWait_ == EchoWait::Nothing && !echo_.empty()) {
            EchoStep step = std::move(echo_.front());
            echo_.pop_front();
            PlayEchoStep(step);
        }
    } catch (...) {
        echoRunning_ = false;
        ClearEcho();
        throw;
    }
    echoRunning_ = false;
}

void SpeechService::PlayEchoStep(EchoStep& step)
{
    switch (step.kind) {
    case EchoStep::Kind::Tone:
        if (!tones_.start)
            return;
        echoTone_ = tones_.start(step.pitches, step.waveset, step.length);
        if (echoTone_.milliseconds <= 0 || !echoTimer_) {
            EchoToneEnded();
            return;
        }
        echoWait_ = EchoWait::Tone;
        echoTimer_->Start(echoTone_.milliseconds, [this] {
            EchoToneEnded();
            RunEcho();
        });
        return;
    case EchoStep::Kind::Character:
        WaitForEchoSpeech(SlotInUse(), SubmitCharacterName(step.text));
        return;
    case EchoStep::Kind::Text:
        WaitForEchoSpeech(SlotInUse(), SubmitWaitedText(step.text));
        return;
    case EchoStep::Kind::QueuedText:
        SubmitQueuedText(step.text);
        return;
    case EchoStep::Kind::Call:
        if (step.call)
            step.call();
        return;
    }
}

void SpeechService::WaitForEchoSpeech(EngineSlot which, std::uint64_t request)
{
    if (request == 0)
        return;
    echoWait_ = EchoWait::Speech;
    echoSlot_ = which;
    echoRequest_ = request;
    echoGeneration_ = SlotOf(which).generation;
}

void SpeechService::EchoToneEnded()
{
    const SoundingTone tone = std::exchange(echoTone_, SoundingTone{});
    if (echoWait_ == EchoWait::Tone)
        echoWait_ = EchoWait::Nothing;
    if (tones_.stop)
        tones_.stop(tone);
}

void SpeechService::EchoSpeechMayHaveEnded(EngineSlot which)
{
    if (echoWait_ != EchoWait::Speech || echoSlot_ != which)
        return;
    const Slot& slot = SlotOf(which);
    if (slot.generation == echoGeneration_ && slot.finished < echoRequest_)
        return;
    echoWait_ = EchoWait::Nothing;
    RunEcho();
}

void SpeechService::ClearEcho()
{
    echo_.clear();
    if (echoWait_ == EchoWait::Tone) {
        if (echoTimer_)
            echoTimer_->Stop();
        EchoToneEnded();
    }
    echoWait_ = EchoWait::Nothing;
}

} // namespace orbela
