// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/speech_service.h"

#include <utility>

#include "text/cp1250.h"
#include "runtime/message_pump.h"
#include "runtime/runtime_state.h"

namespace orbela {

class SpeechService::SlotListener final : public SpeechEngineListener {
public:
    SlotListener(SpeechService& service, EngineSlot slot) : service_(service), slot_(slot) {}
    void AudioStart() override { service_.OnAudioStart(slot_); }
    void AudioStop(std::uint64_t requestsFinished) override { service_.OnAudioStop(slot_, requestsFinished); }

private:
    SpeechService& service_;
    EngineSlot slot_;
};

SpeechService::SpeechService(const RuntimeState& state, MessagePump& pump) : state_(state), pump_(pump) {}

SpeechService::~SpeechService()
{
    for (auto& slot : slots_) {
        if (slot.engine)
            slot.engine->SetListener(nullptr);
    }
}

void SpeechService::SetEngine(EngineSlot which, std::unique_ptr<SpeechEngine> engine)
{
    Slot& slot = SlotOf(which);
    if (slot.engine)
        slot.engine->SetListener(nullptr);
    // The echo's speech belongs to the engine going away.
    if (echoWait_ == EchoWait::Speech && echoSlot_ == which)
        ClearEcho();
    slot.engine = std::move(engine);
    slot.submitted = 0;
    slot.finished = 0;
    ++slot.generation;
    if (which == EngineSlot::Embedded)
        flags_.sapi4speaking = false;
    else
        flags_.sapi5speaking = false;
    if (!slot.engine) {
        RunWhenQuiet();
        return;
    }
    if (!slot.listener)
        slot.listener = std::make_unique<SlotListener>(*this, which);
    slot.engine->SetListener(slot.listener.get());
    RunWhenQuiet();
}

SpeechEngine* SpeechService::Engine(EngineSlot which) const
{
    return slots_[static_cast<std::size_t>(which)].engine.get();
}

EngineSlot SpeechService::SlotInUse() const
{
    if (flags_.usesapi5)
        return EngineSlot::System;
    if (policy_ && policy_->UsesSystemService() && Engine(EngineSlot::System))
        return EngineSlot::System;
    return EngineSlot::Embedded;
}

bool SpeechService::Ready() const
{
    return flags_.engineready || (SlotInUse() == EngineSlot::System && Engine(EngineSlot::System));
}

void SpeechService::SetUseSapi5(bool on)
{
    flags_.usesapi5 = on;
    flags_.engineready = on;
}

std::uint64_t SpeechService::Submit(EngineSlot which, SpeechRequestKind kind, std::string_view cp1250Text,
                                    SpeechMarkup markup)
{
    Slot& slot = SlotOf(which);
    const std::string utf8 = Cp1250ToUtf8(cp1250Text);
    if (log_)
        log_->Record(kind, utf8);
    slot.engine->Speak(utf8, markup);
    return ++slot.submitted;
}

void SpeechService::WaitFor(EngineSlot which, std::uint64_t request)
{
    Slot& slot = SlotOf(which);
    const auto generation = slot.generation;
    // The engine's audio start may come a moment after the request: the
    // wait follows the request itself, not only the speaking flag, so it
    // never returns before its own text has played.
    do {
        pump_.WaitAndProcess();
    } while (slot.generation == generation && slot.finished < request);
}

std::uint64_t SpeechService::SubmitWaitedText(std::string_view cp1250Text)
{
    const EngineSlot which = SlotInUse();
    if (cp1250Text.empty() || !Engine(which))
        return 0;
    if (which == EngineSlot::System) {
        flags_.sapi5speaking = true;
        try {
            return Submit(which, SpeechRequestKind::Wait, cp1250Text, SpeechMarkup::Plain);
        } catch (...) {
            flags_.sapi5speaking = false;
            throw;
        }
    }
    if (!state_.voiceallowed)
        return 0;
    return Submit(which, SpeechRequestKind::Wait, cp1250Text, SpeechMarkup::Plain);
}

void SpeechService::WaitForOtherEngine(EngineSlot which)
{
    // After a change of mode the other engine's line, and the announcement
    // queued behind it, end before this engine begins.
    const EngineSlot other = which == EngineSlot::Embedded ? EngineSlot::System : EngineSlot::Embedded;
    const auto generation = SlotOf(other).generation;
    while (Engine(other) && Playing(other) && SlotOf(other).generation == generation)
        pump_.WaitAndProcess();
}

void SpeechService::SpeakAndWait(Utterance what, std::string_view cp1250Text)
{
    if (!Allows(what))
        return;
    const EngineSlot which = SlotInUse();
    if (!cp1250Text.empty())
        WaitForOtherEngine(which);
    if (const std::uint64_t request = SubmitWaitedText(cp1250Text))
        WaitFor(which, request);
}

std::optional<EngineSlot> SpeechService::InterfaceSlot() const
{
    const EngineSlot chosen = SlotInUse();
    const EngineSlot other = chosen == EngineSlot::Embedded ? EngineSlot::System : EngineSlot::Embedded;
    for (const EngineSlot which : {chosen, other}) {
        if (!Engine(which))
            continue;
        if (which == EngineSlot::Embedded && !state_.voiceallowed)
            return std::nullopt;
        return which;
    }
    return std::nullopt;
}

void SpeechService::SpeakInterface(Utterance what, std::string_view cp1250Text)
{
    if (!Allows(what))
        return;
    if (const auto which = InterfaceSlot(); which && !cp1250Text.empty())
        Submit(*which, SpeechRequestKind::Queued, cp1250Text, SpeechMarkup::Plain);
}

void SpeechService::Speak(Utterance what, std::string_view cp1250Text)
{
    if (Allows(what))
        SubmitQueuedText(cp1250Text);
}

void SpeechService::SubmitQueuedText(std::string_view cp1250Text)
{
    const EngineSlot which = SlotInUse();
    if (!Engine(which))
        return;
    if (which == EngineSlot::Embedded && (!state_.voiceallowed || cp1250Text.empty()))
        return;
    Submit(which, SpeechRequestKind::Queued, cp1250Text, SpeechMarkup::Plain);
}

void SpeechService::SpeakThroughSystemService(Utterance what, std::string_view cp1250Text)
{
    if (!Allows(what))
        return;
    if (!Engine(EngineSlot::System) || cp1250Text.empty()) {
        Speak(what, cp1250Text);
        return;
    }
    Submit(EngineSlot::System, SpeechRequestKind::Queued, cp1250Text, SpeechMarkup::Plain);
}

std::uint64_t SpeechService::SubmitCharacterName(std::string_view cp1250Text)
{
    const std::string_view name = names_.NameOf(cp1250Text[0]);
    const EngineSlot which = SlotInUse();
    if (name.empty() || !Engine(which))
        return 0;
    // The system service queues the name and nothing waits for it.
    if (which == EngineSlot::System) {
        Submit(which, SpeechRequestKind::Character, name, SpeechMarkup::Ssml);
        return 0;
    }
    return Submit(which, SpeechRequestKind::Character, name, SpeechMarkup::Plain);
}

bool SpeechService::Playing(EngineSlot which)
{
    const Slot& slot = SlotOf(which);
    const bool speaking = which == EngineSlot::Embedded ? flags_.sapi4speaking : flags_.sapi5speaking;
    return speaking || slot.finished < slot.submitted;
}

void SpeechService::StopSpeech()
{
    ClearEcho();
    const EngineSlot inUse = SlotInUse();
    const EngineSlot other = inUse == EngineSlot::Embedded ? EngineSlot::System : EngineSlot::Embedded;
    // The engine in use is the system service's to purge whether or not it
    // speaks; the other one speaks only the interface, when it stands in.
    const bool stopInUse = Engine(inUse) && (inUse == EngineSlot::System || Playing(inUse));
    const bool stopOther = Engine(other) && Playing(other);
    if (!stopInUse && !stopOther)
        return;
    if (log_)
        log_->Record(SpeechRequestKind::Stop, {});
    if (stopInUse)
        Engine(inUse)->Reset();
    if (stopOther)
        Engine(other)->Reset();
}

void SpeechService::OnAudioStart(EngineSlot which)
{
    if (which == EngineSlot::Embedded)
        flags_.sapi4speaking = true;
    else
        flags_.sapi5speaking = true;
}

void SpeechService::OnAudioStop(EngineSlot which, std::uint64_t requestsFinished)
{
    Slot& slot = SlotOf(which);
    if (requestsFinished > slot.finished)
        slot.finished = requestsFinished;
    if (which == EngineSlot::Embedded)
        flags_.sapi4speaking = false;
    else
        flags_.sapi5speaking = false;
    EchoSpeechMayHaveEnded(which);
    RunWhenQuiet();
}

void SpeechService::WhenQuiet(std::function<void()> then)
{
    whenQuiet_.push_back(std::move(then));
    RunWhenQuiet();
}

void SpeechService::RunWhenQuiet()
{
    if (whenQuiet_.empty() || Playing(EngineSlot::Embedded) || Playing(EngineSlot::System))
        return;
    for (auto& then : std::exchange(whenQuiet_, {}))
        then();
}

} // namespace orbela
